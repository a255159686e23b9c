// The user guide: it names everything an operator can meet (menu actions,
// veltra-cli's commands, options and exit codes, the messages of a failed
// link and of the command line), its links and pictures lead somewhere, its
// pictures are what the program draws now, and the Help window shows it.
#include "guidewindow.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QXmlStreamReader>
#include <QtTest>

using namespace veltra;

namespace {

const QString kSource = QStringLiteral(VELTRA_SOURCE_DIR);
const QString kGuide = kSource + QStringLiteral("/docs/guide");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList guidePages()
{
    return QDir(kGuide).entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
}

// Every page, its white space run together, as one text to search.
QString wholeGuide()
{
    QString all;
    for (const QString &page : guidePages())
        all += readText(kGuide + u'/' + page) + u'\n';
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return all.replace(space, QStringLiteral(" "));
}

int wordCount(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z][A-Za-z'-]*"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    int count = 0;
    for ([[maybe_unused]] const auto &match : word.globalMatch(QString(text).replace(placeholder, QStringLiteral(" "))))
        ++count;
    return count;
}

// A message with placeholders (%1) as a pattern: the guide writes any
// description in their place ("Cannot read <file>: no such file.").
bool mentions(const QString &guide, const QString &message)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    const QStringList parts = message.trimmed().replace(space, QStringLiteral(" ")).split(placeholder);
    QStringList escaped;
    for (const QString &part : parts)
        escaped << QRegularExpression::escape(part);
    return QRegularExpression(escaped.join(QStringLiteral(".+?"))).match(guide).hasMatch();
}

// Sources of one translation context: the program's catalogue of its texts.
QStringList textsOf(const QString &context)
{
    QStringList texts;
    QXmlStreamReader xml(readText(kSource + QStringLiteral("/translations/veltra_fa.ts")));
    QString current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name")
            current = xml.readElementText();
        else if (xml.name() == u"source" && current == context)
            texts << xml.readElementText();
    }
    return texts;
}

// The messages veltra-cli ends a command with: usage errors and failures.
QStringList cliMessages()
{
    static const QRegularExpression call(QStringLiteral(
        R"re((?:usageError\(|fail\(\{ExitCode::\w+,)\s*QStringLiteral\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*\))re"));
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    QStringList messages;
    QDirIterator files(kSource + QStringLiteral("/cli"), {QStringLiteral("*.cpp")});
    while (files.hasNext()) {
        for (const auto &match : call.globalMatch(readText(files.next()))) {
            QString text;
            for (const auto &part : literal.globalMatch(match.captured(1)))
                text += part.captured(1);
            messages << text.replace(QStringLiteral("\\\""), QStringLiteral("\""));
        }
    }
    return messages;
}

QString cliHelp(const QStringList &arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(VELTRA_CLI_PATH), arguments);
    cli.waitForFinished(10000);
    return QString::fromUtf8(cli.readAllStandardOutput());
}

// How much of a picture differs from another: the share of pixels whose
// colour moved by more than anti-aliasing does.
double differingShare(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > 48 || std::abs(qGreen(p[col]) - qGreen(q[col])) > 48
                || std::abs(qBlue(p[col]) - qBlue(q[col])) > 48)
                ++differing;
        }
    }
    return double(differing) / (double(x.width()) * x.height());
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT
private slots:
    void namesEverythingAnOperatorMeets();
    void linksAndPicturesLeadSomewhere();
    void helpWindowOpensAtTheWindowsSectionAndFinds();
    void picturesAreWhatTheProgramDrawsNow();
};

void TestGuide::namesEverythingAnOperatorMeets()
{
    const QString guide = wholeGuide();
    QVERIFY2(guide.size() > 10000, "docs/guide holds no guide");
    QStringList missing;
    for (const QString &source : textsOf(QStringLiteral("Menus"))) {
        if (!source.contains(u'&'))
            continue; // a note, not an action
        const QString action = QString(source).remove(u'&').remove(QChar(0x2026)).trimmed();
        if (!guide.contains(action))
            missing << QStringLiteral("menu action ") + action;
    }
    for (const QString &context : {QStringLiteral("LinkFailure"), QStringLiteral("Messages")}) {
        for (const QString &message : textsOf(context)) {
            if (wordCount(message) >= 3 && !mentions(guide, message))
                missing << context + QStringLiteral(" message: ") + message.trimmed();
        }
    }
    const QStringList fromCli = cliMessages();
    QVERIFY(fromCli.size() > 20);
    for (const QString &message : fromCli) {
        if (wordCount(message) >= 3 && !mentions(guide, message))
            missing << QStringLiteral("veltra-cli message: ") + message;
    }

    const QString help = cliHelp({QStringLiteral("--help")});
    static const QRegularExpression commandRow(QStringLiteral("^  ([a-z]+)  "), QRegularExpression::MultilineOption);
    static const QRegularExpression option(QStringLiteral("(--[a-z][a-z-]*)"));
    static const QRegularExpression exitRow(QStringLiteral("^  (\\d+)  "), QRegularExpression::MultilineOption);
    const QString commands = help.section(QStringLiteral("Commands:"), 1).section(QStringLiteral("Options:"), 0, 0);
    int commandCount = 0;
    for (const auto &row : commandRow.globalMatch(commands)) {
        ++commandCount;
        const QString command = row.captured(1);
        if (!guide.contains(QStringLiteral("veltra-cli ") + command))
            missing << QStringLiteral("command veltra-cli ") + command;
        for (const auto &name : option.globalMatch(cliHelp({command, QStringLiteral("--help")}))) {
            if (!guide.contains(name.captured(1)))
                missing << QStringLiteral("option %1 of %2").arg(name.captured(1), command);
        }
    }
    QVERIFY(commandCount >= 14);
    int exitCodes = 0;
    for (const auto &row : exitRow.globalMatch(help.section(QStringLiteral("Exit codes:"), 1))) {
        ++exitCodes;
        if (!QRegularExpression(QStringLiteral("\\|\\s*%1\\s*\\|").arg(row.captured(1))).match(guide).hasMatch())
            missing << QStringLiteral("exit code %1 (a table row)").arg(row.captured(1));
    }
    QVERIFY(exitCodes >= 8);
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("docs/guide does not mention:\n") + missing.join(u'\n')));
}

void TestGuide::linksAndPicturesLeadSomewhere()
{
    static const QRegularExpression heading(QStringLiteral("^#+ (.+)$"), QRegularExpression::MultilineOption);
    static const QRegularExpression link(QStringLiteral(R"(!?\[[^\]]*\]\(([^)\s]+)\))"));
    QHash<QString, QSet<QString>> anchors;
    for (const QString &page : guidePages()) {
        for (const auto &match : heading.globalMatch(readText(kGuide + u'/' + page)))
            anchors[page].insert(ui::headingAnchor(match.captured(1)));
    }
    QStringList broken;
    QSet<QString> picturesUsed;
    for (const QString &page : guidePages()) {
        for (const auto &match : link.globalMatch(readText(kGuide + u'/' + page))) {
            const QString target = match.captured(1);
            if (target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:")))
                continue;
            const QString file = target.section(u'#', 0, 0);
            const QString section = target.section(u'#', 1);
            if (!file.isEmpty() && !QFileInfo::exists(kGuide + u'/' + file))
                broken << page + QStringLiteral(" → ") + target;
            else if (!section.isEmpty() && !anchors.value(file.isEmpty() ? page : file).contains(section))
                broken << page + QStringLiteral(" → ") + target + QStringLiteral(" (no such section)");
            if (file.startsWith(QStringLiteral("pictures/")))
                picturesUsed.insert(file.mid(9));
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    // Each picture make guide draws is shown somewhere.
    const QStringList drawn = QDir(kGuide + QStringLiteral("/pictures")).entryList({QStringLiteral("*.png")});
    QVERIFY(drawn.size() >= 15);
    for (const QString &picture : drawn)
        QVERIFY2(picturesUsed.contains(picture), qPrintable(picture + QStringLiteral(" is in no page")));
}

void TestGuide::helpWindowOpensAtTheWindowsSectionAndFinds()
{
    qputenv("VELTRA_GUIDE_DIR", kGuide.toLocal8Bit());
    QCOMPARE(ui::guideDir(), QDir(kGuide).canonicalPath());
    auto *window = static_cast<ui::GuideWindow *>(ui::showGuide(QStringLiteral("getting-started.md#the-start-window")));
    QTextBrowser *browser = window->browser();
    QCOMPARE(browser->source().fileName(), QStringLiteral("getting-started.md"));
    // Opened at the section: its heading named so, at the top of the view
    // (or as near as the end of the page lets it come).
    QTextBlock section;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        if (block.begin() != block.end()
            && block.begin().fragment().charFormat().anchorNames().contains(QStringLiteral("the-start-window")))
            section = block;
    }
    QVERIFY(section.isValid());
    QTest::qWait(50);
    const int y = int(browser->document()->documentLayout()->blockBoundingRect(section).top());
    QVERIFY(std::abs(browser->verticalScrollBar()->value() - std::min(y, browser->verticalScrollBar()->maximum()))
            <= 2);

    // A link to another page's section opens that page.
    browser->setSource(QUrl(QStringLiteral("level-window.md")));
    QCOMPARE(browser->source().fileName(), QStringLiteral("level-window.md"));
    QVERIFY(!browser->document()->toPlainText().isEmpty());
    // Its pictures load: an image the document holds has a size.
    bool pictureLoaded = false;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (image.isValid())
                pictureLoaded |= !browser->loadResource(QTextDocument::ImageResource, QUrl(image.name())).isNull();
        }
    }
    QVERIFY(pictureLoaded);

    // Finding goes on to the page that holds the text.
    QVERIFY(window->findNext(QStringLiteral("dialout")));
    QVERIFY(browser->textCursor().hasSelection());
    QCOMPARE(browser->textCursor().selectedText().toLower(), QStringLiteral("dialout"));
    QVERIFY(!window->findNext(QStringLiteral("no page says xyzzy")));
    QVERIFY(window->findChild<QLabel *>(QStringLiteral("GuideFindNote"))->text().contains(QStringLiteral("Not found")));
    window->close();
}

void TestGuide::picturesAreWhatTheProgramDrawsNow()
{
    // The pictures are drawn on an X server as make guide draws them.
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    QVERIFY2(!xvfb.isEmpty(), "xvfb-run is not installed (scripts/install-deps installs it)");
    QTemporaryDir out;
    QProcess pictures;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("QT_FONT_DPI"));
    pictures.setProcessEnvironment(environment);
    pictures.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    pictures.start(xvfb, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 2600x1800x24"),
                          QStringLiteral(VELTRA_PICTURES_PATH), QStringLiteral("--out"), out.path(),
                          QStringLiteral("--models"), out.filePath(QStringLiteral("models.md"))});
    QVERIFY(pictures.waitForFinished(600000));
    QVERIFY2(pictures.exitCode() == 0, pictures.readAllStandardOutput().constData());

    QCOMPARE(readText(out.filePath(QStringLiteral("models.md"))), readText(kGuide + QStringLiteral("/models.md")));
    // Pictures with a clock, a moving value or a pseudo-terminal's number
    // (/dev/pts/N, whichever is free) in them may differ that much.
    const QHash<QString, double> moving{{QStringLiteral("trend.png"), 0.08},
                                        {QStringLiteral("traffic-log.png"), 0.03},
                                        {QStringLiteral("history.png"), 0.03},
                                        {QStringLiteral("no-sensor.png"), 0.03},
                                        {QStringLiteral("serial-ports.png"), 0.03},
                                        {QStringLiteral("compare.png"), 0.01}};
    const QStringList drawn = QDir(out.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    QCOMPARE(QDir(kGuide + QStringLiteral("/pictures")).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name),
             drawn);
    QStringList changed;
    for (const QString &name : drawn) {
        const QImage now(out.filePath(name));
        const QImage kept(kGuide + QStringLiteral("/pictures/") + name);
        if (now.size() != kept.size()) {
            changed << QStringLiteral("%1: %2×%3, was %4×%5")
                           .arg(name)
                           .arg(now.width())
                           .arg(now.height())
                           .arg(kept.width())
                           .arg(kept.height());
            continue;
        }
        const double share = differingShare(now, kept);
        if (share > moving.value(name, 0.005))
            changed << QStringLiteral("%1: %2 % of it differs").arg(name).arg(share * 100, 0, 'f', 2);
    }
    QVERIFY2(changed.isEmpty(), qPrintable(QStringLiteral("The program draws these differently now; run make guide "
                                                          "and look at them:\n")
                                           + changed.join(u'\n')));
}

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
