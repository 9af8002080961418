// Coordinate input: typed-in points, the example points and list files.

#include "window/form1.h"

#include "window/loadcoordinatefile.h"
#include "lists/pointrecord.h"
#include "core/trap.h"
#include "platform/dialogs/dialogs.h"
#include "window/chrome/msgbox.h"
#include "files/paths.h"

#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <array>

namespace window {

namespace {

// Text files first; then the files of GPS devices and map services, also packed.
const QString kOpenListFilter = QStringLiteral(
    "Text Files (*.txt)|*.txt|"
    "GPS and Map Files (*.gpx;*.kml;*.kmz;*.tcx;*.fit;*.FIT;*.nmea;*.geojson;*.json;"
    "*.gz;*.bz2;*.xz)|*.gpx;*.kml;*.kmz;*.tcx;*.fit;*.FIT;*.nmea;*.geojson;*.json;*.gz;*.bz2;*.xz|"
    "All Files (*.*)|*.*|");

struct ExamplePoint {
    const char* latitude;
    const char* longitude;
};

// Kept as written: "6.49570" keeps its zero.
constexpr std::array<ExamplePoint, 4> kExamplePoints{{
    {"42.8712", "-71.3878"},
    {"33.0169", "-116.846"},
    {"6.49570", "41.26694"},
    {"58.92982", "47.90975"},
}};

// The open dialog's flags, handed on with the request; no dialog reads them.
constexpr int kOpenListFlags = 0x280201;

// The format of a list file, as the help button shows it.
QString listFileHelp()
{
    return QStringList{
        QStringLiteral("1. In your text file, the latitude and the longitude should be "
                       "separated by a comma."),
        QString(),
        QStringLiteral("2. Latitude should always come before longitude."),
        QString(),
        QStringLiteral("3. Each set should be separated by an enter (new line)."),
        QString(),
        QStringLiteral("For example: "),
        QString(),
        QStringLiteral("42.8712,-71.3878"),
        QStringLiteral("-0.58722,-69.79043"),
        QStringLiteral("6.49570,41.26694"),
        QStringLiteral("58.92982,47.90975"),
    }
        .join(QLatin1String("\r\n"));
}

// Appends one point in two labelled steps: the row with its latitude, then
// its longitude.
void appendPoint(core::Trap& trap, int label, widgets::ListView& list, const QString& latitude,
                 const QString& longitude)
{
    qsizetype row = 0;
    trap.step(label, [&] { row = list.addItem(latitude); });
    trap.step(label + 2, [&] { list.setSubItem(row, 1, longitude); });
}

// The local files among what a file manager drags, in its order.
QStringList localFiles(const QMimeData* data)
{
    QStringList paths;
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
    return paths;
}

// Local files are taken while no long operation runs, as the lists' editing is.
bool takesDrop(const Form1& form, const QDropEvent& event)
{
    return form.MousePointer() != Form1::kHourglass && !localFiles(event.mimeData()).isEmpty();
}

} // namespace

// "Add Coordinates": one point typed into the input box.
void Form1::PushButton6_Click()
{
    core::Trap trap(core::location("Form1", "PushButton6_Click"));
    QString entry;
    trap.step(100, [&] {
        entry = platform::get<platform::Dialogs>().inputBox(
            QStringLiteral("Enter points separated by comma to add: "),
            QStringLiteral("Add Points"), QStringLiteral("42.8712,-71.3878"));
    });
    if (trap.test(102, [&] { return entry.isEmpty(); }))
        return;
    if (trap.test(104, [&] { return !entry.contains(QLatin1Char(',')); })) {
        trap.step(118, [&] {
            chrome::MsgBox(QStringLiteral("Invalid Points. Please put colon between points."),
                           QStringLiteral("Invalid Points"));
        });
        return;
    }
    lists::PointFields fields;
    trap.step(106, [&] { fields = lists::pointFields(entry).value_or(lists::PointFields{}); });
    // An entry that is no point is ignored without a message.
    if (trap.test(108, [&] { return !lists::isPoint(fields); }))
        return;
    appendPoint(trap, 110, *ListView1, fields.latitude.toString(), fields.longitude.toString());
}

// "Load Sample/Example Points": the four example points after whatever the list holds.
void Form1::PushButton7_Click()
{
    core::Trap trap(core::location("Form1", "PushButton7_Click"));
    int label = 100;
    for (const ExamplePoint& point : kExamplePoints) {
        appendPoint(trap, label, *ListView1, QString::fromLatin1(point.latitude),
                    QString::fromLatin1(point.longitude));
        label += 4;
    }
}

// "Load Coordinates From File": one or several list files, in the dialog's order.
void Form1::PushButton3_Click()
{
    core::Trap trap(core::location("Form1", "PushButton3_Click"));
    // A selection too long for the dialog's buffer: a message, nothing read.
    trap.endOn(platform::CommonDialog::kBufferTooSmall, [] {
        chrome::MsgBox(QStringLiteral("You've selected too many files to add.\r\r"
                                      "Please try adding via the \"Add All\" button."));
    });
    trap.step(100, [&] { CommonDialog1.FileName.clear(); });
    trap.step(102, [&] { CommonDialog1.Flags = kOpenListFlags; });
    trap.step(104, [&] {
        CommonDialog1.DialogTitle =
            QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
    });
    trap.step(106, [&] { CommonDialog1.Filter = kOpenListFilter; });
    trap.step(108, [&] { CommonDialog1.ShowOpen(); });
    if (trap.ended() || trap.test(110, [&] { return CommonDialog1.FileName.isEmpty(); }))
        return;
    // One file: its full path. Several: their nearest common folder, then each
    // name relative to it.
    QStringList parts;
    trap.step(112, [&] { parts = CommonDialog1.FileName.split(QChar(0)); });
    loaded_.clear();
    trap.step(114, [&] { setMousePointer(kHourglass); });
    if (trap.test(116, [&] { return parts.size() == 1; })) {
        QString path;
        trap.step(118, [&] { path = parts[0]; });
        loadListFile(trap, 120, path);
    } else if (trap.test(122, [&] { return parts.size() >= 2; })) {
        qsizetype first = 1, last = 0;
        trap.step(124, [&] { first = 1; });
        trap.step(126, [&] { last = parts.size() - 1; });
        for (qsizetype i = first; i <= last; ++i) {
            QString path;
            trap.step(130, [&] { path = files::JoinedPath(parts[0], parts[i]); });
            trap.step(132, [&] { path = files::CleanJoinedPath(path); });
            // A list at its limit is reported once; the files after are not read.
            if (!loadListFile(trap, 134, path))
                break;
        }
    }
    tellLoad();
    trap.step(138, [&] { setMousePointer(kDefaultPointer); });
}

// One list file into the coordinate list: a missing one shows "File not
// found", any other failure is reported at the step's label; reports name a
// file that was not picked in the dialog (see LoadCoordinateFile). False when
// the list is at its limit: nothing more can be added.
bool Form1::loadListFile(core::Trap& trap, int label, const QString& path, bool named)
{
    return trap.step(label, [&] { LoadCoordinateFile(*ListView1, path, named, loaded_); }) ||
           !ListView1->full();
}

void Form1::tellLoad()
{
    if (loaded_.files > 0)
        StatusLine1->tell(loaded_.text());
}

// Files dropped on the window or named by "--open" load as the button loads
// them: in the order given, under the hourglass.
void Form1::LoadListFiles(const QStringList& paths)
{
    core::Trap trap(core::location("Form1", "LoadListFiles"));
    trap.step(100, [&] { setMousePointer(kHourglass); });
    loaded_.clear();
    for (const QString& path : paths)
        if (!loadListFile(trap, 102, path, true))
            break;
    tellLoad();
    trap.step(104, [&] { setMousePointer(kDefaultPointer); });
    // "Save Results As Text File" starts in their folder, as after the button's load.
    trap.step(106, [&] { CommonDialog1.Opened(paths); });
}

void Form1::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event)
{
    if (takesDrop(*this, *event))
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    if (!takesDrop(*this, *event))
        return;
    event->acceptProposedAction();
    // The file manager waits for the drop to end: a "File not found" box must
    // not keep it waiting.
    QMetaObject::invokeMethod(
        this, [this, paths = localFiles(event->mimeData())] { LoadListFiles(paths); },
        Qt::QueuedConnection);
}

// The help button: the format of a list file.
void Form1::PushButton8_Click()
{
    core::Trap trap(core::location("Form1", "PushButton8_Click"));
    trap.step(100, [&] { chrome::MsgBox(listFileHelp()); });
}

} // namespace window
