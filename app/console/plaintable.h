#pragma once
// A windowless table with one column: what the command line writes its
// results into. The rows are kept as UTF-8 in one block, so a million result
// sentences take little more than their characters; every row is checked.

#include "output/rowsource.h"

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>
#include <vector>

namespace platform {

class PlainTable : public RowSource {
public:
    explicit PlainTable(QString header);

    void add(QStringView text);

    int columnCount() const override { return 1; }
    QString columnText(int column) const override;
    qsizetype count() const override { return static_cast<qsizetype>(ends_.size()); }
    QString cell(qsizetype row, int column) const override;
    bool checked(qsizetype row) const override;

private:
    void checkRow(qsizetype row) const;

    QString header_;
    QByteArray text_;
    QStringEncoder encoder_{QStringEncoder::Utf8};
    std::vector<qsizetype> ends_; // where each row's text ends in text_
};

} // namespace platform
