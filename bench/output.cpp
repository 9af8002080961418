// Saving the results of a run as a text file and copying them to the
// clipboard, each against a bare loop in the same process that formats the
// same lines into memory.
//
//   bench_output [points]     (default 1000000)

#include "form1controls.h"
#include "window/form1.h"
#include "benchsession.h"
#include "benchutil.h"
#include "engine/modzipdistance.h"
#include "platform/dialogs/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Answers the save dialog with one path and every message at once.
qsizetype longest(const QStringList& lines, qsizetype start)
{
    qsizetype width = start;
    for (const QString& line : lines)
        width = std::max(width, line.size());
    return width;
}

// The file's bytes: header and sentences padded, TAB, CR LF, in UTF-8.
QByteArray bareFile(const QStringList& sentences)
{
    const qsizetype width = longest(sentences, 7);
    QStringEncoder encoder(QStringEncoder::System);
    QByteArray bytes((sentences.size() + 1) * (3 * width + 3), Qt::Uninitialized);
    char* out = bytes.data();
    QString line;
    auto put = [&](const QString& text) {
        line = text;
        line.resize(width, QLatin1Char(' '));
        line.append(QLatin1Char('\t'));
        out = encoder.appendToBuffer(out, line);
        *out++ = '\r';
        *out++ = '\n';
    };
    put(QStringLiteral("Results"));
    for (const QString& s : sentences)
        put(s);
    bytes.truncate(out - bytes.constData());
    return bytes;
}

// The clipboard text: every sentence without trailing spaces, then CR LF.
QString bareText(const QStringList& sentences)
{
    QString text;
    text.reserve(sentences.size() * (longest(sentences, 0) + 3));
    for (const QString& s : sentences) {
        qsizetype end = s.size();
        while (end > 0 && s.at(end - 1) == QLatin1Char(' '))
            --end;
        text.append(QStringView(s).first(end));
        text.append(QLatin1String("\r\n"));
    }
    return text;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList sentencesOf(const window::Form1& form)
{
    QStringList out;
    out.reserve(ui(form).ListView2->count());
    for (qsizetype r = 1; r <= ui(form).ListView2->count(); ++r)
        out << ui(form).ListView2->text(r);
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    bench::QuietDialogs& dialogs = session.dialogs;
    const qsizetype points = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir dir;
    dialogs.savePath = dir.filePath(QStringLiteral("results.txt"));

    window::Form1& form = session.form;
    bench::fillResults(*ui(form).ListView2, points);
    const qsizetype rows = ui(form).ListView2->count();
    const QStringList sentences = sentencesOf(form);

    std::vector<double> bareSaves, saves, bareCopies, copies, copyPeaks;
    qsizetype textBytes = 0;
    bool same = true;
    for (int round = 0; round < 3; ++round) {
        QByteArray expected;
        bareSaves.push_back(bench::timeOnce([&] { expected = bareFile(sentences); }));
        saves.push_back(bench::timeOnce([&] { form.PushButton4_Click(); }));
        same = same && fileBytes(dialogs.savePath) == expected;
        expected = QByteArray();

        QString text;
        bareCopies.push_back(bench::timeOnce([&] { text = bareText(sentences); }));
        textBytes = text.size() * 2;
        QGuiApplication::clipboard()->clear();
        bench::resetPeak();
        const double before = bench::currentMegabytes();
        copies.push_back(bench::timeOnce([&] { form.PushButton5_Click(); }));
        copyPeaks.push_back(bench::peakMegabytes() - before);
        same = same && QGuiApplication::clipboard()->text() == text;
    }

    const double bareSave = bench::median(bareSaves), save = bench::median(saves);
    const double bareCopy = bench::median(bareCopies), copy = bench::median(copies);
    const double textMegabytes = textBytes / 1048576.0;
    const double copyPeak = *std::max_element(copyPeaks.begin(), copyPeaks.end());
    std::printf("%lld result rows (%lld points), outputs %s the bare loops'\n",
                static_cast<long long>(rows), static_cast<long long>(points),
                same ? "equal" : "DIFFER FROM");
    std::printf("%-6s %9s %9s %12s %7s\n", "", "bare s", "real s", "rows/s", "ratio");
    std::printf("%-6s %9.3f %9.3f %12.0f %7.2f   (target at most 8)\n", "save", bareSave, save,
                rows / save, save / bareSave);
    std::printf("%-6s %9.3f %9.3f %12.0f %7.2f   (target at most 5)\n", "copy", bareCopy, copy,
                rows / copy, copy / bareCopy);
    std::printf("copy: text %.0f MB, peak memory added %.0f MB, ratio %.2f (target at most 2)\n",
                textMegabytes, copyPeak, copyPeak / textMegabytes);
    std::printf("process peak %.0f MB\n", bench::peakMegabytes());
    return same ? 0 : 1;
}
