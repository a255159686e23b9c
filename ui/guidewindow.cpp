#include "guidewindow.h"

#include "about.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace veltra::ui {

namespace {

QStringList guideCandidates()
{
    QStringList candidates;
    const QString named = qEnvironmentVariable("VELTRA_GUIDE_DIR");
    if (!named.isEmpty())
        candidates << named;
    candidates
        << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/doc/veltra-sensor/guide"))
        << QStringLiteral("/usr/share/doc/veltra-sensor/guide");
#ifdef VELTRA_SOURCE_GUIDE
    candidates << QStringLiteral(VELTRA_SOURCE_GUIDE);
#endif
    return candidates;
}

QPointer<GuideWindow> g_window;

} // namespace

QString guideDir()
{
    for (const QString &dir : guideCandidates()) {
        if (QFileInfo(QDir(dir).filePath(QStringLiteral("index.md"))).isFile())
            return QDir(dir).canonicalPath();
    }
    return {};
}

QString headingAnchor(const QString &heading)
{
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_')
            anchor += c;
        else if (c == u' ')
            anchor += u'-';
    }
    return anchor;
}

void GuideBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    QTextBrowser::doSetSource(name, type);
    // Qt's Markdown reader names no sections: each heading gets the name
    // links use ("file.md#section"), so links and the window's own sections work.
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() <= 0)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setAnchor(true);
        format.setAnchorNames({headingAnchor(block.text())});
        cursor.mergeCharFormat(format);
    }
    document()->setModified(false);
    if (!name.fragment().isEmpty())
        scrollToAnchor(name.fragment());
}

GuideWindow::GuideWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new GuideBrowser(this))
    , m_findBar(new QWidget(this))
    , m_findText(new QLineEdit(m_findBar))
    , m_findNote(new QLabel(m_findBar))
{
    setObjectName(QStringLiteral("UserGuide"));
    setWindowTitle(QCoreApplication::translate("Guide", "User Guide — %1").arg(programTitle()));
    m_browser->setObjectName(QStringLiteral("GuideText"));
    m_browser->setOpenExternalLinks(true);
    // The guide is written in English, left to right, whatever the menus speak.
    m_browser->setLayoutDirection(Qt::LeftToRight);
    m_browser->setAccessibleName(QCoreApplication::translate("Guide", "User guide"));

    auto *back = new QPushButton(QCoreApplication::translate("Guide", "&Back"), this);
    auto *forward = new QPushButton(QCoreApplication::translate("Guide", "&Forward"), this);
    auto *contents = new QPushButton(QCoreApplication::translate("Guide", "&Contents"), this);
    back->setObjectName(QStringLiteral("GuideBack"));
    forward->setObjectName(QStringLiteral("GuideForward"));
    contents->setObjectName(QStringLiteral("GuideContents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { open(QStringLiteral("index.md")); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();

    m_findText->setObjectName(QStringLiteral("GuideFind"));
    m_findText->setAccessibleName(QCoreApplication::translate("Guide", "Find in the guide"));
    m_findText->setClearButtonEnabled(true);
    m_findNote->setObjectName(QStringLiteral("GuideFindNote"));
    auto *findLabel = new QLabel(QCoreApplication::translate("Guide", "&Find:"), m_findBar);
    findLabel->setBuddy(m_findText);
    auto *next = new QPushButton(QCoreApplication::translate("Guide", "&Next"), m_findBar);
    auto *previous = new QPushButton(QCoreApplication::translate("Guide", "&Previous"), m_findBar);
    auto *findLayout = new QHBoxLayout(m_findBar);
    findLayout->setContentsMargins(0, 0, 0, 0);
    findLayout->addWidget(findLabel);
    findLayout->addWidget(m_findText, 1);
    findLayout->addWidget(previous);
    findLayout->addWidget(next);
    findLayout->addWidget(m_findNote, 1);
    m_findBar->hide();
    connect(m_findText, &QLineEdit::returnPressed, this, [this] { findNext(m_findText->text()); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(m_findText->text()); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(m_findText->text(), true); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
    layout->addWidget(m_findBar);

    const auto shortcut = [this](const QKeySequence &keys, auto slot) {
        auto *s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence::Find, [this] { showFindBar(); });
    shortcut(QKeySequence::FindNext, [this] { findNext(m_findText->text()); });
    shortcut(QKeySequence::FindPrevious, [this] { findNext(m_findText->text(), true); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), [this] {
        if (m_findText->hasFocus())
            findNext(m_findText->text(), true);
    });
    // Escape leaves the find bar first, then the window.
    shortcut(QKeySequence(Qt::Key_Escape), [this] {
        if (m_findBar->isVisible()) {
            m_findBar->hide();
            m_browser->setFocus();
        } else {
            close();
        }
    });
    shortcut(QKeySequence::Close, [this] { close(); });
    shortcut(QKeySequence(QStringLiteral("Ctrl+W")), [this] { close(); });
    shortcut(QKeySequence::Back, [this] { m_browser->backward(); });
    shortcut(QKeySequence::Forward, [this] { m_browser->forward(); });

    const QFontMetrics metrics = fontMetrics();
    QSize size(metrics.averageCharWidth() * 150, metrics.height() * 50);
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

void GuideWindow::open(const QString &page)
{
    const QString dir = guideDir();
    if (dir.isEmpty()) {
        m_browser->setPlainText(
            QCoreApplication::translate("Guide", "The user guide is not installed: none of these folders holds it:\n%1")
                .arg(guideCandidates().join(u'\n')));
        return;
    }
    const qsizetype hash = page.indexOf(u'#');
    QUrl url = QUrl::fromLocalFile(QDir(dir).filePath(hash < 0 ? page : page.left(hash)));
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    m_browser->setSource(url);
}

void GuideWindow::showFindBar()
{
    m_findBar->show();
    m_findText->setFocus();
    m_findText->selectAll();
}

QStringList GuideWindow::pages() const
{
    const QString dir = guideDir();
    if (dir.isEmpty())
        return {};
    // In the order the contents page lists them, the contents page first.
    QStringList ordered{QStringLiteral("index.md")};
    QFile index(QDir(dir).filePath(QStringLiteral("index.md")));
    if (index.open(QIODevice::ReadOnly)) {
        static const QRegularExpression link(QStringLiteral(R"(\]\(([\w.-]+\.md)(?:#[^)]*)?\))"));
        for (const auto &match : link.globalMatch(QString::fromUtf8(index.readAll()))) {
            if (!ordered.contains(match.captured(1)))
                ordered << match.captured(1);
        }
    }
    for (const QString &file : QDir(dir).entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name)) {
        if (!ordered.contains(file))
            ordered << file;
    }
    return ordered;
}

bool GuideWindow::findNext(const QString &text, bool backward)
{
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    m_findNote->clear();
    if (m_browser->find(text, flags))
        return showFound();
    const auto fromEdge = [this, &text, flags, backward] {
        QTextCursor cursor(m_browser->document());
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        m_browser->setTextCursor(cursor);
        return m_browser->find(text, flags);
    };
    // The rest of this page, then the other pages in turn.
    const QStringList all = pages();
    const QString current = QFileInfo(m_browser->source().toLocalFile()).fileName();
    const qsizetype at = std::max<qsizetype>(0, all.indexOf(current));
    const qsizetype n = all.size();
    for (qsizetype step = 1; step < n; ++step) {
        const QString page = all.at(((at + (backward ? -step : step)) % n + n) % n);
        QFile file(QDir(guideDir()).filePath(page));
        if (!file.open(QIODevice::ReadOnly) || !QString::fromUtf8(file.readAll()).contains(text, Qt::CaseInsensitive))
            continue;
        open(page);
        if (fromEdge()) {
            m_findNote->setText(QCoreApplication::translate("Guide", "Found on another page."));
            return showFound();
        }
    }
    // Back round to this page's other end.
    if (!current.isEmpty() && QFileInfo(m_browser->source().toLocalFile()).fileName() != current)
        open(current);
    if (fromEdge()) {
        m_findNote->setText(QCoreApplication::translate("Guide", "Went on from the other end of the page."));
        return showFound();
    }
    m_findNote->setText(QCoreApplication::translate("Guide", "Not found in the guide."));
    return false;
}

bool GuideWindow::showFound()
{
    // The found text a quarter of the way down, with what leads to it above.
    QScrollBar *bar = m_browser->verticalScrollBar();
    bar->setValue(bar->value() + m_browser->cursorRect().top() - m_browser->viewport()->height() / 4);
    return true;
}

QWidget *showGuide(const QString &page)
{
    if (!g_window)
        g_window = new GuideWindow;
    g_window->open(page);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

QAction *addGuideAction(QMenu *help, const QString &page)
{
    QAction *action
        = help->addAction(QCoreApplication::translate("Menus", "&User Guide"), help, [page] { showGuide(page); });
    action->setObjectName(QStringLiteral("UserGuideAction"));
    action->setShortcut(QKeySequence::HelpContents);
    return action;
}

void openGuideWithF1(QWidget *window, const QString &page)
{
    auto *shortcut = new QShortcut(QKeySequence::HelpContents, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, [page] { showGuide(page); });
}

} // namespace veltra::ui
