// The usage is written once, in the options of the command line: --help
// prints them, and the manual page and the README's option table are checked
// against that print here. A new option is added to cli/commandlineoptions.cpp,
// then as a .TP entry under OPTIONS in packaging/meridane.1 and as a row of
// the README's option table (its text as --help gives it); the rows below say
// what is missing or differs.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

// An option as a text names it: its long name, its one-letter name (or
// none) and the name of its value (or none for a switch).
struct Option {
    QString shortName;
    QString value;
    QString description;
};
using Options = QMap<QString, Option>;

QString simplified(QString text) { return text.simplified(); }

QByteArray help()
{
    QProcess program;
    program.start(QStringLiteral(MERIDANE_EXECUTABLE), {QStringLiteral("--help")});
    program.waitForFinished(60000);
    return program.readAllStandardOutput();
}

// "-u,--unit <unit>" or "--strict": the names and the value of one heading.
Option heading(QString text, QString& longName)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:-([a-z]),)?--([a-z][a-z-]*)(?: <?([a-z,]+)>?)?$"));
    text.replace(QRegularExpression(QStringLiteral(",\\s+")), QStringLiteral(","));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    longName = match.captured(2);
    return {match.captured(1), match.captured(3), {}};
}

// The options of --help, Qt's own --help-all left out.
Options helpOptions(const QByteArray& text)
{
    Options options;
    QString current;
    bool inOptions = false;
    for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1Char(' '))) {
            inOptions = line == QLatin1String("Options:");
            current.clear();
            continue;
        }
        if (!inOptions)
            continue;
        if (line.startsWith(QLatin1String("  -"))) {
            const qsizetype gap = line.indexOf(QLatin1String("  "), 2);
            Option option = heading(line.mid(2, gap - 2), current);
            option.description = line.mid(gap).trimmed();
            options.insert(current, option);
        } else if (!current.isEmpty()) {
            options[current].description += QLatin1Char(' ') + line.trimmed();
        }
    }
    options.remove(QStringLiteral("help-all"));
    return options;
}

// The .TP entries of the manual page's OPTIONS section, as roff marks them up:
// .BR \-u ", " \-\-unit " \fIunit\fR" or .BI \-\-columns " lat" , lon.
Options manOptions(const QByteArray& page)
{
    Options options;
    const QStringList lines = QString::fromUtf8(page).split(QLatin1Char('\n'));
    bool inOptions = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1String(".SH ")))
            inOptions = lines[i] == QLatin1String(".SH OPTIONS");
        if (!inOptions || lines[i] != QLatin1String(".TP") || i + 1 == lines.size())
            continue;
        QString text = lines[i + 1];
        text.remove(QRegularExpression(QStringLiteral("^\\.[A-Z]+ ")));
        text.remove(QRegularExpression(QStringLiteral("\\\\f[BIR]")));
        text.remove(QLatin1Char('"'));
        text.replace(QLatin1String("\\-"), QLatin1String("-"));
        text.replace(QRegularExpression(QStringLiteral("\\s*,\\s*")), QStringLiteral(","));
        QString name;
        const Option option = heading(text.simplified(), name);
        if (!name.isEmpty())
            options.insert(name, option);
    }
    return options;
}

// The README's option table, from its heading "| option | what it does |" to
// the first line that is no row: | `-u`, `--unit <unit>` | text |
Options readmeOptions(const QByteArray& readme)
{
    Options options;
    static const QRegularExpression row(
        QStringLiteral("^\\| ((?:`-[a-z]`, )?`--[^|]*`) \\| (.*) \\|$"));
    bool inTable = false;
    for (const QString& line : QString::fromUtf8(readme).split(QLatin1Char('\n'))) {
        if (line == QLatin1String("| option | what it does |"))
            inTable = true;
        else if (!line.startsWith(QLatin1Char('|')))
            inTable = false;
        const QRegularExpressionMatch match = row.match(line);
        if (!inTable || !match.hasMatch())
            continue;
        QString name;
        Option option = heading(match.captured(1).remove(QLatin1Char('`')), name);
        option.description = match.captured(2).remove(QLatin1Char('`'));
        options.insert(name, option);
    }
    return options;
}

QByteArray source(const char* path)
{
    QFile file(QStringLiteral(SOURCE_DIR "/") + QLatin1String(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class UsageTest : public QObject {
    Q_OBJECT

    const QByteArray help_ = help();
    const Options options_ = helpOptions(help_);
    const Options man_ = manOptions(source("packaging/meridane.1"));
    const Options readme_ = readmeOptions(source("README.md"));

private slots:
    void helpReads()
    {
        QVERIFY2(options_.contains(QStringLiteral("unit")), help_.constData());
        QVERIFY(man_.contains(QStringLiteral("unit")));
        QVERIFY(readme_.contains(QStringLiteral("unit")));
    }

    // Every option of --help, with its one-letter name and its value, in the
    // manual page and in the README (there with --help's own words).
    void documented_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("name");
        for (const QString& name : options_.keys()) {
            QTest::addRow("man page: --%s", qPrintable(name)) << "man" << name;
            QTest::addRow("README: --%s", qPrintable(name)) << "readme" << name;
        }
    }

    void documented()
    {
        QFETCH(QString, document);
        QFETCH(QString, name);
        const Options& documented = document == QLatin1String("man") ? man_ : readme_;
        QVERIFY2(documented.contains(name), qPrintable(QStringLiteral("--") + name + " is missing"));
        const Option& wanted = options_[name];
        QCOMPARE(documented[name].shortName, wanted.shortName);
        QCOMPARE(documented[name].value, wanted.value);
        if (document == QLatin1String("readme"))
            QCOMPARE(simplified(documented[name].description), simplified(wanted.description));
    }

    // No option is documented that the program does not take.
    void nothingElse_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("man page") << "man";
        QTest::newRow("README") << "readme";
    }

    void nothingElse()
    {
        QFETCH(QString, document);
        const Options& documented = document == QLatin1String("man") ? man_ : readme_;
        for (const QString& name : documented.keys())
            QVERIFY2(options_.contains(name), qPrintable(QStringLiteral("--") + name));
    }

    // The help names every kind of list file that is read.
    void formatsRead_data()
    {
        QTest::addColumn<QString>("format");
        for (const char* format :
             {"plain lists", "GPX", "KML", "KMZ", "TCX", "GeoJSON", "FIT", "NMEA", "gzip",
              "bzip2", "xz"})
            QTest::newRow(format) << QString::fromLatin1(format);
    }

    void formatsRead()
    {
        QFETCH(QString, format);
        QVERIFY2(simplified(QString::fromUtf8(help_)).contains(format), help_.constData());
    }
};

QTEST_GUILESS_MAIN(UsageTest)
#include "tst_usage.moc"
