#pragma once

#include "grid/CellTexts.h"
#include "grid/FindReplace.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace Ledgerly {

class ShownTextKeeper;

class GridView;
class RecordTableProxy;

// The find bar under the table: it stays open while the person works in the
// table. It searches the records and columns shown, in the order shown,
// wrapping round at either end; every match is tinted and "k of n" tells
// where the current one is. With its replace row, Replace changes the
// current match and moves on, Replace All changes every match in one
// undoable step; cells the replaced text would not read in are left and
// counted. Escape closes it and gives the table the focus back.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    FindBar(GridView &view, RecordTableProxy &proxy, QWidget *parent = nullptr);
    // The keeper of the table's text: searches wait for it while it fills.
    void setTextKeeper(ShownTextKeeper *keeper) { m_keeper = keeper; }

    // Opens the bar (with the replace row or without) and puts the cursor in
    // its text.
    void openFind();
    void openReplace();
    void closeBar();
    // Go to the next or previous match; with nothing to find, open the bar.
    void findNext();
    void findPrevious();
    void replaceCurrent();
    void replaceAll();

    QLineEdit *findBox() const { return m_find; }
    QLineEdit *replaceBox() const { return m_with; }
    QCheckBox *matchCaseBox() const { return m_matchCase; }
    QCheckBox *wholeCellBox() const { return m_wholeCell; }
    QCheckBox *regexBox() const { return m_regex; }
    // "k of n", "No matches", or why the text cannot be searched for.
    QString statusText() const;

Q_SIGNALS:
    // Opened, closed, or its replace row shown or hidden: the window makes
    // room for it or takes it back.
    void heightChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows the bar with or without its replace row.
    void showRows(bool withReplace);
    TextMatcher matcher() const;
    void optionsChanged();
    void scopeChanged();
    void countChanged();
    const FindReplace::Scope &scope();
    // Counts what is left for Replace All: false when a regular expression
    // could not be counted to the end in the time one search may take.
    bool finishCount();
    // Counts on from where the count got to, for a few tens of milliseconds;
    // true once every record is counted. A large table is counted slice by
    // slice between events, so typing never waits for the count.
    bool countSome();
    FindReplace::Match currentMatch();
    void go(bool backwards);
    // Jobs that wait for the table's text, by the keeper's key.
    enum Job { SearchJob = -1, ReplaceAllJob = -2 };
    void whenTextKept(int job, std::function<void()> run);
    void search(bool backwards);
    void replaceAllCounted();
    void select(const FindReplace::Match &match);
    void showStatus();
    void say(const QString &text);

    GridView &m_view;
    ShownTextKeeper *m_keeper = nullptr;
    RecordTableProxy &m_proxy;
    QLineEdit *m_find;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeCell;
    QCheckBox *m_regex;
    QLabel *m_status;
    QWidget *m_replaceRow;
    QLineEdit *m_with;
    QTimer *m_recount;
    // Worked out when first needed after a change, so a burst of edits or
    // keystrokes costs one pass.
    FindReplace::Scope m_scope;
    bool m_scopeValid = false;
    QList<FindReplace::Match> m_matches;
    bool m_matchesValid = false; // every record counted
    qsizetype m_countedTo = 0;
    bool m_gaveUp = false;
    std::optional<CellTexts> m_countTexts; // for every slice of one count
    QString m_message;                     // what the last Replace or Replace All did
};

} // namespace Ledgerly
