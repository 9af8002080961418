#pragma once
// Reads a written workbook back: the first sheet's cells (shared or inline
// strings) and column widths, taken out of the file with unzip and parsed
// with QXmlStreamReader.

#include <QMap>
#include <QPair>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

struct XlsxContent {
    QMap<QPair<int, int>, QString> cells; // (row, column) from 1 -> text
    QMap<int, double> widths;             // column from 1 -> width
    QStringList cellTypes;                // the t attribute of every cell
};

inline QByteArray unzipMember(const QString& path, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, member});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

// "AB12" -> (12, 28)
inline QPair<int, int> cellPosition(QStringView ref)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        column = column * 26 + (ref[i].unicode() - 'A' + 1);
    return {ref.mid(i).toInt(), column};
}

inline QStringList sharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"si")
            strings << QString();
        else if (reader.isStartElement() && reader.name() == u"t")
            strings.last() += reader.readElementText();
    }
    return strings;
}

inline XlsxContent readXlsx(const QString& path)
{
    const QStringList strings = sharedStrings(unzipMember(path, "xl/sharedStrings.xml"));
    XlsxContent content;
    QXmlStreamReader reader(unzipMember(path, "xl/worksheets/sheet1.xml"));
    QPair<int, int> position;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto attributes = reader.attributes();
        if (reader.name() == u"col") {
            for (int c = attributes.value("min").toInt(); c <= attributes.value("max").toInt(); ++c)
                content.widths[c] = attributes.value("width").toDouble();
        } else if (reader.name() == u"c") {
            position = cellPosition(attributes.value("r"));
            type = attributes.value("t").toString();
            content.cellTypes << type;
        } else if (reader.name() == u"t" && type == u"inlineStr") {
            content.cells[position] += reader.readElementText();
        } else if (reader.name() == u"v") {
            const QString v = reader.readElementText();
            content.cells[position] = type == u"s" ? strings.value(v.toInt()) : v;
        }
    }
    return content;
}
