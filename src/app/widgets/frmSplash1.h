#pragma once

#include "app/DesktopSettings.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace Ledgerly {

class SkinBand;

// The about box: product, version, developer, copyright and support address
// from Ledgerly.ini, a logo and a piece of support HTML. Any key, the button
// or a click on the frame closes it.
class frmSplash1 : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash1(const QString &programFolder, QWidget *parent = nullptr);

    const AboutSettings &settings() const { return m_settings; }
    bool hasLogo() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void centreOnScreen();
    QLabel *label(const char16_t *name, const QString &text);

    QString m_programFolder;
    AboutSettings m_settings;
    QFrame *m_frame1 = nullptr;
    SkinBand *m_skin = nullptr;
    QLabel *m_imgLogo = nullptr;
    QTextBrowser *m_html = nullptr;
    QPushButton *m_cmdOK = nullptr;
};

} // namespace Ledgerly
