#pragma once

#include <QTextBrowser>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace veltra::ui {

// The folder that holds the user guide's Markdown and pictures: the one
// VELTRA_GUIDE_DIR names, the installed copy beside the program
// (../share/doc/veltra-sensor/guide), or the source tree's docs/guide.
// Empty when none of them holds index.md.
QString guideDir();

// Shows the user guide window (one for the program) at `page`, a file of the
// guide with an optional section ("level-window.md",
// "getting-started.md#the-start-window").
QWidget *showGuide(const QString &page);

// Help → User Guide (F1) in `help`: opens the guide at `page`.
QAction *addGuideAction(QMenu *help, const QString &page);
// F1 opens the guide at `page` from a window without a Help menu.
void openGuideWithF1(QWidget *window, const QString &page);

// The section name a heading gets, as GitHub makes it: lower case, letters,
// digits, '-' and '_' kept, spaces turned into '-', the rest dropped.
QString headingAnchor(const QString &heading);

// A text browser for the guide's pages: Markdown files, linked to each other
// by file and section, with their pictures.
class GuideBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};

class GuideWindow : public QWidget
{
public:
    explicit GuideWindow(QWidget *parent = nullptr);

    void open(const QString &page);
    GuideBrowser *browser() const { return m_browser; }
    // Finds `text` after the cursor (before it, backward), then in the other
    // pages in turn, then from this page's other end; false (and a note) when
    // no page holds it.
    bool findNext(const QString &text, bool backward = false);

private:
    void showFindBar();
    bool showFound();
    QStringList pages() const;

    GuideBrowser *m_browser;
    QWidget *m_findBar;
    QLineEdit *m_findText;
    QLabel *m_findNote;
};

} // namespace veltra::ui
