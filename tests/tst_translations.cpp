// The Persian translation: complete for every text the windows' sources hold
// (lupdate run over them now), each translation keeping its source's
// placeholders; and the program in Persian: menus translated and right to
// left above designed windows that keep their places.
#include "language.h"
#include "levelwindow.h"
#include "scriptedlink.h"
#include "session/sensorsession.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace veltra;

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void persianIsCompleteAndCurrent()
    {
        // The file as lupdate makes it from today's sources: a text added
        // or changed without its translation shows as unfinished.
        QTemporaryDir dir;
        const QString ts = dir.filePath(QStringLiteral("veltra_fa.ts"));
        QVERIFY(QFile::copy(QStringLiteral(VELTRA_TS_FILE), ts));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(VELTRA_SOURCE_DIR));
        lupdate.start(QStringLiteral(VELTRA_LUPDATE),
                      {"-silent", "-no-obsolete", "-locations", "none", "app", "ui", "trend", "level", "distance", "sensor", "link",
                       "-ts", ts});
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        int messages = 0;
        QString source;
        static const QRegularExpression placeholder(QStringLiteral("%\\d"));
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"source") {
                source = xml.readElementText();
            } else if (xml.name() == u"translation") {
                ++messages;
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                const QString translation = xml.readElementText();
                QVERIFY2(type.isEmpty() && !translation.isEmpty(), qPrintable(QStringLiteral("untranslated: ") + source));
                QStringList wanted, given;
                for (const auto &m : placeholder.globalMatch(source))
                    wanted << m.captured();
                for (const auto &m : placeholder.globalMatch(translation))
                    given << m.captured();
                wanted.sort();
                given.sort();
                QVERIFY2(wanted == given, qPrintable(source));
                QCOMPARE(translation.count(u'&') > 0, source.count(u'&') > 0);
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 0);
    }

    void persianMenusAboveDesignedWindows()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        // English leaves every text the program's own.
        QCOMPARE(ui::chosenLanguage(QString()), QStringLiteral("en"));
        QCOMPARE(ui::chosenLanguage(QStringLiteral("fa")), QStringLiteral("fa"));
        QCOMPARE(ui::chosenLanguage(QString()), QStringLiteral("fa")); // remembered

        ScriptedLink link;
        SensorSession session(link);
        QList<QRect> english;
        {
            LevelWindow window(session);
            for (QWidget *control : window.findChildren<QWidget *>())
                english << control->geometry();
        }
        ui::installLanguage(QStringLiteral("fa"));
        LevelWindow window(session);
        auto *bar = window.findChild<QMenuBar *>();
        QVERIFY(bar);
        QStringList titles;
        for (QAction *menu : bar->actions())
            titles << menu->text();
        QCOMPARE(titles, (QStringList{"&فایل", "&نما", "&راهنما"}));
        QCOMPARE(bar->layoutDirection(), Qt::RightToLeft);
        // The window's controls keep their designed places and captions.
        QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
        QList<QRect> persian;
        for (QWidget *control : window.findChildren<QWidget *>())
            persian << control->geometry();
        QCOMPARE(persian.size(), english.size());
        // The menu bar's own items are laid out anew; every control of the
        // client area stays where it was.
        int same = 0;
        for (qsizetype i = 0; i < english.size(); ++i)
            same += persian.at(i) == english.at(i);
        QVERIFY2(same >= english.size() - 4, qPrintable(QStringLiteral("%1 of %2").arg(same).arg(english.size())));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
