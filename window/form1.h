#pragma once
// Form1: the program's one window. The coordinate list, the unit options, the
// distance run, the results list, the output buttons and the progress bar.

#include "core/trap.h"
#include "platform/dialogs/commondialog.h"
#include "platform/widgets/list/listview.h"
#include "platform/widgets/optionbutton.h"
#include "platform/widgets/progressbar.h"
#include "platform/widgets/pushbutton.h"
#include "platform/widgets/controltable.h"
#include "platform/widgets/statusline.h"
#include "window/loadcoordinatefile.h"
#include "window/resulttotals.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

struct Form1Controls; // the tests' and the benchmarks' way to the controls

namespace window {

class Form1 : public QWidget {
    Q_OBJECT
public:
    // Values of the window's mouse pointer, which doubles as its busy state.
    static constexpr int kDefaultPointer = 0;
    static constexpr int kHourglass = 11;
    static constexpr int kCustomPointer = 99;

    explicit Form1(QWidget* parent = nullptr);

    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int value);
    bool RunInProgress() const { return runInProgress_; }
    QRadioButton* option(int k) const; // 1 to 4
    // What the status line under the controls says.
    QString StatusText() const;

    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();

    // List editing.
    void ListView1_DblClick();
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView2_DblClick();
    void ListView2_ItemCheck(qsizetype row);
    void PushButton1_Click();
    void PushButton2_Click();

    // The distance run.
    void PushButton17_Click();

    // Coordinate input.
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton3_Click();
    void PushButton8_Click();
    // List files dropped on the window or a list, or named by "--open".
    void LoadListFiles(const QStringList& paths);

    // Results output.
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton13_Click();
    bool SaveResultsAsExcelFileIsExcelInstalled();

    // Unit settings kept between starts.
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();

    // Hover: the hand over the push buttons, the ordinary pointer elsewhere.
    void PushButton1_MouseMove();
    void PushButton2_MouseMove();
    void PushButton3_MouseMove();
    void PushButton4_MouseMove();
    void PushButton5_MouseMove();
    void PushButton6_MouseMove();
    void PushButton7_MouseMove();
    void PushButton8_MouseMove();
    void PushButton13_MouseMove();
    void PushButton17_MouseMove();
    void Form_MouseMove();
    void Frame1_MouseMove();
    void ListView1_MouseMove();
    void ListView2_MouseMove();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Local files dragged from a file manager onto the window or either list.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The tests' and the benchmarks' way to the controls (tests/support/form1controls.h).
    friend struct ::Form1Controls;

    widgets::ListView* ListView1;        // coordinate list
    widgets::PushButton* PushButton6;    // "Add Coordinates"
    widgets::PushButton* PushButton3;    // "Load Coordinates From File"
    widgets::PushButton* PushButton8;    // help on the list file format
    widgets::PushButton* PushButton1;    // "Clear List"
    widgets::PushButton* PushButton7;    // "Load Sample/Example Points"
    QGroupBox* Frame1;                    // "Unit Options"
    widgets::OptionButton* Option1;      // "Miles"
    widgets::OptionButton* Option2;      // "Feet"
    widgets::OptionButton* Option3;      // "Kilometers"
    widgets::OptionButton* Option4;      // "Meters"
    widgets::PushButton* PushButton17;   // "Start Finding Distance Between"
    widgets::ListView* ListView2;        // results list
    widgets::PushButton* PushButton4;    // "Save Results As Text File"
    widgets::PushButton* PushButton13;   // "Save Results As Excel File"
    widgets::PushButton* PushButton5;    // "Copy Results To Clipboard"
    widgets::PushButton* PushButton2;    // "Clear Results"
    widgets::ProgressBar* ProgressBar1;  // progress of the long operations
    platform::CommonDialog CommonDialog1; // open and save dialogs
    widgets::StatusLine* StatusLine1;    // what the last load, run or change did

    void createControls();
    void placeControls();
    void connectHandlers();
    void setTabOrder();
    widgets::PushButton* button(const QString& caption);
    void connectOptionHandlers();
    void connectHoverHandlers();
    QList<widgets::PushButton*> pushButtons() const;
    void showPointer();
    void hover(int value);
    void writeUnitKeys(const char* handler);
    void writeUnitStates();
    void writeRestoredUnit();
    void restoreUnitOption(int k, const QString& defaultText);
    void loadCustomPointer(const QString& path);
    bool loadListFile(core::Trap& trap, int label, const QString& path, bool named = false);
    void tellLoad();
    void countResults();
    void tellResults();

    int mousePointer_ = kDefaultPointer;
    QCursor customPointer_{Qt::PointingHandCursor}; // value 99
    bool runInProgress_ = false;
    bool storeFailureReported_ = false; // a store that cannot be written is told once
    widgets::ControlTable table_;
    LoadSummary loaded_;      // the files of the last load
    ResultTotals totals_;     // the checked results
};

} // namespace window
