#include "FindBar.h"

#include "GridView.h"
#include "grid/BoundedRegex.h"
#include "grid/RecordTableProxy.h"
#include "grid/ShownTextKeeper.h"
#include "grid/TableEditor.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Ledgerly {

namespace {
// Counting every match of a large table waits until typing pauses; finding
// the next one never does.
constexpr int recountDelayMs = 120;
constexpr int countSliceMs = 30;
constexpr qsizetype countSliceRecords = 256;
} // namespace

FindBar::FindBar(GridView &view, RecordTableProxy &proxy, QWidget *parent)
    : QWidget(parent)
    , m_view(view)
    , m_proxy(proxy)
    , m_find(new QLineEdit(this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match case"), this))
    , m_wholeCell(new QCheckBox(QStringLiteral("Whole cell"), this))
    , m_regex(new QCheckBox(QStringLiteral("Regular expression"), this))
    , m_status(new QLabel(this))
    , m_replaceRow(new QWidget(this))
    , m_with(new QLineEdit(m_replaceRow))
    , m_recount(new QTimer(this))
{
    setObjectName(QStringLiteral("FindBar"));
    m_find->setObjectName(QStringLiteral("FindText"));
    m_with->setObjectName(QStringLiteral("ReplaceText"));
    m_find->setPlaceholderText(QStringLiteral("Find in the records shown"));
    m_find->setClearButtonEnabled(true);
    m_status->setObjectName(QStringLiteral("FindStatus"));
    m_status->setTextFormat(Qt::PlainText);

    auto *previous = new QPushButton(QStringLiteral("Previous"), this);
    auto *next = new QPushButton(QStringLiteral("Next"), this);
    auto *close = new QToolButton(this);
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(QStringLiteral("Close (Escape)"));
    close->setAutoRaise(true);
    auto *replace = new QPushButton(QStringLiteral("Replace"), m_replaceRow);
    auto *replaceAll = new QPushButton(QStringLiteral("Replace All"), m_replaceRow);
    for (QPushButton *button : {previous, next, replace, replaceAll})
        button->setAutoDefault(false);

    auto *findRow = new QHBoxLayout;
    findRow->addWidget(new QLabel(QStringLiteral("Find:"), this));
    findRow->addWidget(m_find, 2);
    findRow->addWidget(m_matchCase);
    findRow->addWidget(m_wholeCell);
    findRow->addWidget(m_regex);
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(m_status, 1);
    findRow->addWidget(close);
    auto *withRow = new QHBoxLayout(m_replaceRow);
    withRow->setContentsMargins(0, 0, 0, 0);
    withRow->addWidget(new QLabel(QStringLiteral("Replace with:"), m_replaceRow));
    withRow->addWidget(m_with, 2);
    withRow->addWidget(replace);
    withRow->addWidget(replaceAll);
    withRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(2);
    layout->addLayout(findRow);
    layout->addWidget(m_replaceRow);

    m_find->installEventFilter(this);
    m_with->installEventFilter(this);
    connect(m_find, &QLineEdit::textChanged, this, &FindBar::optionsChanged);
    for (QCheckBox *box : {m_matchCase, m_wholeCell, m_regex})
        connect(box, &QCheckBox::toggled, this, &FindBar::optionsChanged);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(close, &QToolButton::clicked, this, &FindBar::closeBar);
    connect(replace, &QPushButton::clicked, this, &FindBar::replaceCurrent);
    connect(replaceAll, &QPushButton::clicked, this, &FindBar::replaceAll);

    m_recount->setSingleShot(true);
    m_recount->setInterval(recountDelayMs);
    connect(m_recount, &QTimer::timeout, this, &FindBar::showStatus);
    using M = QAbstractItemModel;
    connect(&m_proxy, &M::modelReset, this, &FindBar::scopeChanged);
    connect(&m_proxy, &M::layoutChanged, this, &FindBar::scopeChanged);
    for (auto signal : {&M::rowsInserted, &M::rowsRemoved, &M::columnsInserted, &M::columnsRemoved})
        connect(&m_proxy, signal, this, &FindBar::scopeChanged);
    connect(&m_proxy, &M::headerDataChanged, this, &FindBar::scopeChanged);
    connect(&m_proxy, &M::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                // The tint of the matches is no change of what they are.
                if (roles != QList<int>{Qt::BackgroundRole})
                    countChanged();
            });
    if (QItemSelectionModel *selection = m_view.selectionModel())
        connect(selection, &QItemSelectionModel::currentChanged, this, [this] {
            if (isVisible())
                showStatus();
        });
    hide();
}

void FindBar::openFind()
{
    showRows(false);
    m_find->setFocus();
    m_find->selectAll();
    m_proxy.setHighlight(matcher());
    showStatus();
}

void FindBar::openReplace()
{
    openFind();
    showRows(true);
    if (!m_find->text().isEmpty()) {
        m_with->setFocus();
        m_with->selectAll();
    }
}

void FindBar::closeBar()
{
    if (isHidden())
        return;
    m_recount->stop();
    hide();
    m_proxy.setHighlight({});
    m_view.setFocus();
    Q_EMIT heightChanged();
}

void FindBar::showRows(bool withReplace)
{
    const bool changed = isHidden() || m_replaceRow->isHidden() == withReplace;
    m_replaceRow->setVisible(withReplace);
    show();
    if (changed)
        Q_EMIT heightChanged();
}

TextMatcher FindBar::matcher() const
{
    return TextMatcher(FindOptions{m_find->text(), m_matchCase->isChecked(),
                                   m_wholeCell->isChecked(), m_regex->isChecked()});
}

void FindBar::optionsChanged()
{
    m_matchesValid = false;
    m_countedTo = 0;
    m_matches.clear();
    m_message.clear();
    const TextMatcher current = matcher();
    QPalette palette = m_find->palette();
    palette.setColor(QPalette::Base,
                     current.isValid() ? QPalette().color(QPalette::Base) : QColor(255, 205, 205));
    m_find->setPalette(palette);
    m_find->setToolTip(current.error());
    m_proxy.setHighlight(current);
    if (isVisible())
        m_recount->start(recountDelayMs);
}

void FindBar::scopeChanged()
{
    m_scopeValid = false;
    countChanged();
}

void FindBar::countChanged()
{
    m_matchesValid = false;
    m_countedTo = 0;
    m_matches.clear();
    if (isVisible())
        m_recount->start(recountDelayMs);
}

const FindReplace::Scope &FindBar::scope()
{
    if (!m_scopeValid) {
        m_scope = FindReplace::shownScope(m_proxy);
        m_scopeValid = true;
    }
    return m_scope;
}

bool FindBar::countSome()
{
    if (m_matchesValid)
        return true;
    if (m_countedTo == 0) {
        m_matches.clear();
        m_gaveUp = false;
        m_countTexts.emplace(m_proxy.editor().model());
    }
    const TextMatcher current = matcher();
    const qsizetype records = scope().tableRows.size();
    QElapsedTimer slice;
    slice.start();
    while (m_countedTo < records && !m_gaveUp && slice.elapsed() < countSliceMs) {
        m_matches += FindReplace::findAll(m_proxy.editor().model(), scope(), current, &m_gaveUp,
                                          m_countedTo, countSliceRecords, &*m_countTexts);
        m_countedTo += countSliceRecords;
    }
    m_matchesValid = m_gaveUp || m_countedTo >= records;
    return m_matchesValid;
}

bool FindBar::finishCount()
{
    // Plain text is counted to the end at once (a few passes over the kept
    // text at most); a regular expression gets no longer than one search.
    const bool bounded = matcher().options().regex;
    const QDeadlineTimer deadline(BoundedRegex::passBudgetMs);
    while (!countSome())
        if (bounded && deadline.hasExpired())
            return false;
    return true;
}

FindReplace::Match FindBar::currentMatch()
{
    const QModelIndex current = m_view.currentIndex();
    const FindReplace::Scope &where = scope();
    if (!current.isValid())
        return {};
    const auto row =
        std::lower_bound(where.viewRows.cbegin(), where.viewRows.cend(), current.row());
    if (row == where.viewRows.cend() || *row != current.row())
        return {};
    return {row - where.viewRows.cbegin(), current.column()};
}

void FindBar::findNext()
{
    go(false);
}

void FindBar::findPrevious()
{
    go(true);
}

void FindBar::go(bool backwards)
{
    const TextMatcher current = matcher();
    if (isHidden() || current.isEmpty()) {
        openFind();
        return;
    }
    if (!current.isValid()) {
        showStatus();
        return;
    }
    whenTextKept(SearchJob, [this, backwards] { search(backwards); });
}

void FindBar::whenTextKept(int job, std::function<void()> run)
{
    if (!m_keeper) {
        run();
        return;
    }
    m_keeper->whenReady(job, std::move(run));
    if (!m_keeper->isReady())
        m_status->setText(QStringLiteral("Searching\u2026"));
}

void FindBar::search(bool backwards)
{
    const TextMatcher current = matcher();
    if (isHidden() || current.isEmpty() || !current.isValid())
        return;
    bool gaveUp = false;
    // Once every match is counted, the next one is looked up in the count.
    const auto found = m_matchesValid && !m_gaveUp
                           ? FindReplace::nextOf(m_matches, scope(), currentMatch(), backwards)
                           : FindReplace::findNext(m_proxy.editor().model(), scope(), current,
                                                   currentMatch(), backwards, &gaveUp);
    if (found)
        select(*found);
    m_message = gaveUp ? QStringLiteral("The regular expression took too long; the search stopped")
                       : QString();
    showStatus();
}

void FindBar::select(const FindReplace::Match &match)
{
    const QModelIndex index = m_proxy.index(scope().viewRows.at(match.position), match.column);
    m_view.setCurrentIndex(index);
    m_view.scrollTo(index);
}

void FindBar::replaceCurrent()
{
    const TextMatcher current = matcher();
    const FindReplace::Match here = currentMatch();
    const QModelIndex index = m_view.currentIndex();
    if (current.isEmpty() || !current.isValid() || here.position < 0 ||
        !scope().columns.contains(here.column) ||
        !current.matches(FindReplace::cellText(m_proxy.editor().model(),
                                               scope().tableRows.at(here.position), here.column))) {
        go(false);
        return;
    }
    m_view.commitOpenEditor();
    const FindReplace::ReplaceResult result = FindReplace::replace(
        m_proxy.editor(), scope(), {here}, current, m_with->text(), QStringLiteral("Replace"));
    go(false);
    if (result.skipped > 0)
        say(QStringLiteral("Not replaced: the new text does not read in the field \"%1\"")
                .arg(m_proxy.headerData(index.column(), Qt::Horizontal).toString()));
}

void FindBar::replaceAll()
{
    const TextMatcher current = matcher();
    if (current.isEmpty() || !current.isValid()) {
        showStatus();
        return;
    }
    m_view.commitOpenEditor();
    whenTextKept(ReplaceAllJob, [this] { replaceAllCounted(); });
}

void FindBar::replaceAllCounted()
{
    const TextMatcher current = matcher();
    if (isHidden() || current.isEmpty() || !current.isValid())
        return;
    if (!finishCount()) {
        say(QStringLiteral("Still counting the matches of the regular expression; nothing was "
                           "replaced yet"));
        return;
    }
    const QList<FindReplace::Match> &all = m_matches;
    if (m_gaveUp) {
        say(QStringLiteral("The regular expression took too long; nothing was replaced"));
        return;
    }
    const FindReplace::ReplaceResult result = FindReplace::replace(
        m_proxy.editor(), scope(), all, current, m_with->text(), QStringLiteral("Replace All"));
    QString text = QStringLiteral("Replaced %1 cell(s)").arg(result.changed);
    if (result.skipped > 0)
        text += QStringLiteral("; %1 skipped, their new text would not read in their field")
                    .arg(result.skipped);
    say(text);
}

void FindBar::say(const QString &text)
{
    m_message = text;
    showStatus();
}

QString FindBar::statusText() const
{
    return m_status->text();
}

void FindBar::showStatus()
{
    m_recount->stop();
    const TextMatcher current = matcher();
    QString text;
    if (!current.isValid()) {
        text = current.error();
    } else if (!current.isEmpty() && !countSome()) {
        text = QStringLiteral("Counting\u2026 %1 so far").arg(m_matches.size());
        m_recount->start(0);
    } else if (!current.isEmpty()) {
        const QList<FindReplace::Match> &all = m_matches;
        const auto at = std::find(all.cbegin(), all.cend(), currentMatch());
        if (m_gaveUp)
            text = QStringLiteral("The regular expression took too long; not every cell was "
                                  "counted");
        else if (all.isEmpty())
            text = QStringLiteral("No matches");
        else if (at != all.cend())
            text = QStringLiteral("%1 of %2").arg(at - all.cbegin() + 1).arg(all.size());
        else
            text = QStringLiteral("%1 matches").arg(all.size());
    }
    if (!m_message.isEmpty())
        text = text.isEmpty() ? m_message : text + QStringLiteral(" \u2014 ") + m_message;
    m_status->setText(text);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_with)
                replaceCurrent();
            else
                go(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            closeBar();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        closeBar();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace Ledgerly
