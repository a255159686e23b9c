#include "language.h"

#include "about.h"
#include "messagetext.h"

#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QTranslator>

namespace veltra::ui {

namespace {

const QString kLanguageKey = QStringLiteral("language");

// The designed windows are drawn left to right whatever the language; a
// dialog or message window opened from one would inherit that, so each is
// laid out in the program's direction when it is first polished.
class DialogDirection : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish) {
            if (auto *dialog = qobject_cast<QDialog *>(watched))
                dialog->setLayoutDirection(QGuiApplication::layoutDirection());
        }
        return false;
    }
};

} // namespace

QString shownWord(const char *context, const QString &english)
{
    return QCoreApplication::translate(context, english.toUtf8().constData());
}

QString leftToRightInside(const QString &arg)
{
    if (QGuiApplication::layoutDirection() != Qt::RightToLeft || arg.isEmpty() || arg.isRightToLeft())
        return arg;
    constexpr QChar kMark(0x200E); // LEFT-TO-RIGHT MARK
    return kMark + arg + kMark;
}

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
    qApp->installEventFilter(new DialogDirection(qApp));
}

void addLanguageMenu(QMenu *help, QWidget *window)
{
    QMenu *menu = help->addMenu(QCoreApplication::translate("Menus", "&Language"));
    auto *group = new QActionGroup(menu);
    const QString now
        = QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("fa") : QStringLiteral("en");
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
                QMessageBox::information(window, programTitle(),
                                         QCoreApplication::translate(
                                             "Menus", "The program speaks the language chosen from its next start."));
        });
    }
}

QString shown(const QString &message)
{
    if (const std::optional<MessageOrigin> origin = messageOrigin(message)) {
        QStringList args;
        for (const QString &arg : origin->args)
            args << leftToRightInside(shown(arg));
        return fillPlaceholders(QCoreApplication::translate(kMessageContext, origin->source), args);
    }
    // Some prompts end in control characters the sensor's program always
    // sent with them: the words are translated, the characters kept.
    qsizetype end = message.size();
    while (end > 0 && message.at(end - 1).category() == QChar::Other_Control)
        --end;
    return QCoreApplication::translate(kMessageContext, message.left(end).toUtf8().constData()) + message.mid(end);
}

} // namespace veltra::ui
