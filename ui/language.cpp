#include "language.h"

#include "about.h"

#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QTranslator>

namespace veltra::ui {

namespace {

const QString kLanguageKey = QStringLiteral("language");

} // namespace

bool isLanguage(const QString &language)
{
    return language == u"en" || language == u"fa";
}

QString chosenLanguage(const QString &commandLine)
{
    if (isLanguage(commandLine)) {
        programSettings().setValue(kLanguageKey, commandLine);
        return commandLine;
    }
    const QString remembered = programSettings().value(kLanguageKey).toString();
    if (isLanguage(remembered))
        return remembered;
    return QLocale::system().language() == QLocale::Persian ? QStringLiteral("fa") : QStringLiteral("en");
}

void installLanguage(const QString &language)
{
    if (language != u"fa")
        return;
    // Kept for the program's lifetime, as the application holds them.
    static QTranslator own;
    static QTranslator qt;
    if (own.load(QStringLiteral(":/i18n/veltra_fa.qm")))
        QCoreApplication::installTranslator(&own);
    if (qt.load(QLocale(QLocale::Persian), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
}

void addLanguageMenu(QMenu *help, QWidget *window)
{
    QMenu *menu = help->addMenu(QCoreApplication::translate("Menus", "&Language"));
    auto *group = new QActionGroup(menu);
    const QString now = QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("fa")
                                                                              : QStringLiteral("en");
    // Each language by its own name, so an operator finds theirs whatever
    // the program speaks now.
    for (const auto &[code, name] : {std::pair{"en", "English"}, std::pair{"fa", "فارسی"}}) {
        QAction *action = menu->addAction(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(now == QLatin1String(code));
        action->setData(QString::fromLatin1(code));
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [window, action, now] {
            const QString chosen = action->data().toString();
            programSettings().setValue(kLanguageKey, chosen);
            if (chosen != now)
                QMessageBox::information(
                    window, programTitle(),
                    QCoreApplication::translate("Menus", "The program speaks the language chosen from its next start."));
        });
    }
}

} // namespace veltra::ui
