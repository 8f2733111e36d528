#include "StatusPanels.h"

#include "common/Twips.h"

#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

namespace Ledgerly {

StatusPanels::StatusPanels(QWidget *window, double logicalDpi)
    : QObject(window)
    , m_window(window)
    , m_statusBar(new QStatusBar(window))
    , m_frame2(new QFrame(window))
    , m_progress(new QProgressBar(m_frame2))
    , m_clock(new QTimer(this))
{
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);

    const int dateWidth = Twips::toPixels(1300, logicalDpi);
    const int keyWidth = Twips::toPixels(700, logicalDpi);
    addPanel(QStringLiteral("Panel1"), dateWidth, 0);
    addPanel(QStringLiteral("Panel2"), dateWidth, 0);
    addPanel(QStringLiteral("Panel3"), Twips::toPixels(userPanelTwips / 2, logicalDpi), 5980);
    addPanel(QStringLiteral("Panel4"), Twips::toPixels(progressPanelTwips / 3, logicalDpi), 7220);
    QLabel *caps = addPanel(QStringLiteral("Panel5"), keyWidth, 0);
    QLabel *insert = addPanel(QStringLiteral("Panel6"), keyWidth, 0);
    QLabel *num = addPanel(QStringLiteral("Panel7"), keyWidth, 0);
    caps->setText(QStringLiteral("CAPS"));
    insert->setText(QStringLiteral("INS"));
    num->setText(QStringLiteral("NUM"));
    // The keyboard's lock states cannot be read portably; CAPS and NUM stay
    // greyed labels, INS follows the Insert key.
    caps->setEnabled(false);
    num->setEnabled(false);
    for (QLabel *key : {caps, insert, num})
        key->setAlignment(Qt::AlignCenter);
    // Beside the seven panels, and only while a filter hides records, so the
    // panels keep their places otherwise.
    m_count = new QLabel(m_statusBar);
    m_count->setObjectName(QStringLiteral("RecordCount"));
    m_count->setFrameShape(QFrame::Panel);
    m_count->setFrameShadow(QFrame::Sunken);
    m_count->setTextFormat(Qt::PlainText);
    m_count->setIndent(4);
    m_statusBar->addPermanentWidget(m_count);
    m_count->hide();

    // Frame2 floats over panel 4 and carries the progress bar.
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    m_frame2->setFrameShape(QFrame::NoFrame);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    connect(m_clock, &QTimer::timeout, this, &StatusPanels::updateClock);
    m_clock->start(1000);
    updateClock();
}

QLabel *StatusPanels::addPanel(const QString &name, int widthPixels, int stretch)
{
    auto *label = new QLabel(m_statusBar);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(widthPixels);
    label->setTextFormat(Qt::PlainText);
    label->setIndent(4);
    m_statusBar->addWidget(label, stretch);
    m_panels.append(label);
    return label;
}

void StatusPanels::updateClock()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    m_panels.at(0)->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_panels.at(1)->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

void StatusPanels::setUserText(const QString &text)
{
    m_panels.at(2)->setText(text);
}

void StatusPanels::setNumberText(const QString &text)
{
    // Panel 4 lies under the progress frame; its number is kept as a tip.
    m_panels.at(3)->setToolTip(text);
}

void StatusPanels::setProgress(int value)
{
    m_progress->setValue(qBound(0, value, 100));
}

int StatusPanels::panel4Left() const
{
    return m_panels.at(3)->mapTo(m_window, QPoint(0, 0)).x();
}

void StatusPanels::setRecordCountText(const QString &text)
{
    m_count->setText(text);
    if (m_count->isHidden() == text.isEmpty())
        return;
    m_count->setVisible(!text.isEmpty());
    Q_EMIT panelsMoved();
}

void StatusPanels::setInsertMode(bool on)
{
    m_insert = on;
    m_panels.at(5)->setEnabled(on);
}

} // namespace Ledgerly
