/* Meridane's own skin: a Qt style sheet, loaded by the skin control at
   start-up. Calm blue-grey surfaces, white lists, one accent colour.
   Sizes and fonts are left to the window, so every control keeps its place.
   Every rule that paints a background names the text colour on it too, and
   texts that lie on such a background without one of their own (the labels
   of message boxes and dialogs) get theirs: the desktop's palette may be a
   dark one, whose pale text would vanish on these light surfaces. */

window--Form1 {
    color: #13314d;
    background-color: #dde6ef;
}

/* The status line under the progress bar lies on the window's surface. */
widgets--StatusLine {
    color: #13314d;
    background-color: transparent;
}

QToolTip {
    color: #13314d;
    background-color: #fdfdf4;
    border: 1px solid #8aa3bd;
    padding: 2px;
}

/* Push buttons */
QPushButton {
    color: #13314d;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #ffffff, stop: 1 #d9e3ee);
    border: 1px solid #7d98b5;
    border-radius: 4px;
    padding: 0px 3px;
    outline: none;
}
QDialog QPushButton {
    min-width: 64px;
    min-height: 22px;
    padding: 0px 8px;
}
QPushButton:hover {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #ffffff, stop: 1 #c6daef);
    border-color: #2f6fad;
}
QPushButton:pressed {
    background-color: #b4cbe3;
    border-color: #245a90;
}
QPushButton:focus {
    border: 2px solid #2f6fad;
}
QPushButton:disabled {
    color: #56616d;
    border-color: #b3c0ce;
}

/* The unit options */
QGroupBox {
    color: #1b4c7c;
    background-color: #f2f5f9;
    border: 1px solid #9db2c8;
    border-radius: 5px;
    margin-top: 7px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    subcontrol-position: top left;
    left: 8px;
    padding: 0px 4px;
    background-color: #dde6ef;
    border-radius: 3px;
}
QRadioButton {
    color: #13314d;
    background-color: transparent;
}
QRadioButton::indicator {
    width: 13px;
    height: 13px;
    border-radius: 7px;
    border: 1px solid #5f7f9f;
    background-color: #ffffff;
}
QRadioButton::indicator:hover {
    border-color: #2f6fad;
}
QRadioButton::indicator:checked {
    background-color: qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5,
                                      stop: 0 #2f6fad, stop: 0.45 #2f6fad,
                                      stop: 0.55 #ffffff, stop: 1 #ffffff);
    border-color: #245a90;
}
/* The option that has the keyboard: a ring round its indicator, dark
   enough to be seen on the frame (the desktop's own mark is faint or
   missing here). */
QRadioButton::indicator:focus {
    border: 2px solid #13314d;
}

/* The two lists */
QTableView {
    color: #13314d;
    background-color: #ffffff;
    border: 1px solid #9db2c8;
    border-radius: 3px;
    selection-background-color: #2f6fad;
    selection-color: #ffffff;
}
QTableView:focus {
    border-color: #2f6fad;
}
QHeaderView {
    color: #1b3957;
    background-color: #dce5ef;
}
QHeaderView::section {
    color: #1b3957;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #f6f8fb, stop: 1 #dce5ef);
    border: none;
    border-right: 1px solid #b5c5d6;
    border-bottom: 1px solid #9db2c8;
    padding: 2px 5px;
}
QScrollBar:vertical, QScrollBar:horizontal {
    background-color: #eef2f6;
    border: none;
}
QScrollBar:vertical {
    width: 12px;
}
QScrollBar:horizontal {
    height: 12px;
}
QScrollBar::handle:vertical, QScrollBar::handle:horizontal {
    background-color: #b3c4d6;
    border-radius: 4px;
    margin: 2px;
}
QScrollBar::handle:vertical {
    min-height: 24px;
}
QScrollBar::handle:horizontal {
    min-width: 24px;
}
QScrollBar::handle:hover {
    background-color: #8aa3bd;
}
QScrollBar::add-line, QScrollBar::sub-line {
    width: 0px;
    height: 0px;
}

/* The progress bar */
widgets--ProgressBar {
    color: #13314d;
    background-color: #f7f9fc;
    border: 1px solid #7d98b5;
    border-radius: 4px;
    text-align: center;
}
widgets--ProgressBar::chunk {
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1,
                                      stop: 0 #b9d6f3, stop: 1 #86b4e2);
    border-radius: 3px;
}

/* Message boxes and dialogs */
QDialog, QMessageBox {
    color: #13314d;
    background-color: #dde6ef;
}
QDialog QLabel, QDialog QCheckBox {
    color: #13314d;
}
QLineEdit {
    color: #13314d;
    background-color: #ffffff;
    selection-background-color: #2f6fad;
    selection-color: #ffffff;
    border: 1px solid #9db2c8;
    border-radius: 3px;
    padding: 2px;
}
