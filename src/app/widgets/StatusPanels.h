#pragma once

#include <QList>
#include <QObject>

class QFrame;
class QLabel;
class QProgressBar;
class QStatusBar;
class QTimer;
class QWidget;

namespace Ledgerly {

// The main window's status bar (StatusBar1) with its seven panels: date, time,
// the Palm user, a wide panel under the progress frame (Frame2 with
// ProgressBar1), and the CAPS, INS and NUM indicators.
class StatusPanels : public QObject
{
    Q_OBJECT
public:
    // Panel widths in twips, as the window was designed.
    static constexpr double userPanelTwips = 5980;
    static constexpr double progressPanelTwips = 7220;

    StatusPanels(QWidget *window, double logicalDpi);

    QStatusBar *statusBar() const { return m_statusBar; }
    QFrame *frame2() const { return m_frame2; }
    QProgressBar *progressBar() const { return m_progress; }
    // Panels numbered from 1.
    QLabel *panel(int number) const { return m_panels.value(number - 1); }

    void setUserText(const QString &text);
    void setNumberText(const QString &text);
    void setProgress(int value);
    // Panel 4's left edge in the window's coordinates (pixels).
    int panel4Left() const;
    void setInsertMode(bool on);
    // "N of M records" while a filter is on; empty hides the panel.
    void setRecordCountText(const QString &text);
    QLabel *recordCountPanel() const { return m_count; }
    bool insertMode() const { return m_insert; }

public Q_SLOTS:
    void updateClock();

Q_SIGNALS:
    // A panel came or went, so the panels moved: the window places the
    // progress frame over panel 4 again.
    void panelsMoved();

private:
    QLabel *addPanel(const QString &name, int widthPixels, int stretch);

    QWidget *m_window;
    QStatusBar *m_statusBar;
    QFrame *m_frame2;
    QProgressBar *m_progress;
    QList<QLabel *> m_panels;
    QLabel *m_count;
    QTimer *m_clock;
    bool m_insert = true;
};

} // namespace Ledgerly
