#include "frmSplash1.h"

#include "SkinBand.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace Ledgerly {

namespace {
// The support HTML is shown as written; nothing it names is fetched.
class OfflineBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl &) override { return {}; }
};
} // namespace

frmSplash1::frmSplash1(const QString &programFolder, QWidget *parent)
    : QDialog(parent)
    , m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("frmSplash1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_frame1 = new QFrame(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setFrameShape(QFrame::StyledPanel);
    m_frame1->installEventFilter(this);
    m_skin = new SkinBand(m_frame1);
    m_skin->lower();

    Form_Load();

    m_imgLogo = new QLabel(m_frame1);
    m_imgLogo->setObjectName(QStringLiteral("imgLogo"));
    m_imgLogo->setAlignment(Qt::AlignCenter);
    if (!m_settings.logoPath.isEmpty()) {
        QImageReader reader(m_settings.logoPath);
        reader.setAllocationLimit(64);
        const QImage logo = reader.read();
        if (!logo.isNull()) {
            const int side = 128 * logicalDpiY() / 96;
            m_imgLogo->setPixmap(QPixmap::fromImage(
                logo.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    }
    m_imgLogo->setVisible(hasLogo());

    QFont arial(QStringLiteral("Arial"));
    QFont title = arial;
    title.setPointSizeF(arial.pointSizeF() * 1.8);
    title.setBold(true);

    QLabel *product = label(u"lblProductName", m_settings.lblProductName);
    product->setFont(title);
    QLabel *version = label(u"lblVersion", m_settings.lblVersion);
    QLabel *from = label(u"lblCompanyProduct", QStringLiteral("from"));
    QLabel *company = label(u"lblCompany", m_settings.lblCompany);
    QLabel *copyright = label(u"lblCopyright", m_settings.lblCopyright);
    QLabel *supportTitle = label(u"Label2", QStringLiteral("Support Information:"));
    QLabel *support = label(u"lblTechSupport", m_settings.lblTechSupport);
    QFont bold = arial;
    bold.setBold(true);
    supportTitle->setFont(bold);
    for (QLabel *l : {version, from, company, copyright, support})
        l->setFont(arial);

    m_html = new OfflineBrowser(m_frame1);
    m_html->setObjectName(QStringLiteral("DHTMLEdit1"));
    m_html->setOpenLinks(false);
    m_html->setOpenExternalLinks(false);
    m_html->setHtml(m_settings.html);
    // Room for a short paragraph; longer support texts scroll.
    m_html->setFixedHeight(m_html->fontMetrics().lineSpacing() * 5 + 12);
    m_html->installEventFilter(this);

    m_cmdOK = new QPushButton(QStringLiteral("Continue"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdOK->installEventFilter(this);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addSpacing(6);
    texts->addWidget(from);
    texts->addWidget(company);
    texts->addWidget(copyright);
    texts->addStretch();

    auto *grid = new QGridLayout(m_frame1);
    grid->setContentsMargins(18, 18, 18, 18);
    grid->setHorizontalSpacing(18);
    grid->addWidget(m_imgLogo, 0, 0, Qt::AlignTop);
    grid->addLayout(texts, 0, 1);
    grid->addWidget(supportTitle, 1, 0, 1, 2);
    grid->addWidget(support, 2, 0, 1, 2);
    grid->addWidget(m_html, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_frame1);
    outer->addWidget(m_cmdOK, 0, Qt::AlignRight);
    setMinimumWidth(520 * logicalDpiX() / 96);
    adjustSize();
}

QLabel *frmSplash1::label(const char16_t *name, const QString &text)
{
    auto *l = new QLabel(text, m_frame1);
    l->setObjectName(QString::fromUtf16(name));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    l->installEventFilter(this);
    return l;
}

void frmSplash1::Form_Load()
{
    m_settings = DesktopSettings::loadAboutSettings(m_programFolder);
    setWindowTitle(m_settings.lblProductName.isEmpty()
                       ? QStringLiteral("About")
                       : QStringLiteral("About ") + m_settings.lblProductName);
    // A skin that cannot be read leaves the plain native look.
    m_skin->loadSkin(m_settings.skinPath);
}

bool frmSplash1::hasLogo() const
{
    return m_imgLogo && m_imgLogo->pixmap().isNull() == false;
}

void frmSplash1::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    accept();
}

bool frmSplash1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched != m_html) {
        accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        accept();
        return true;
    }
    if (event->type() == QEvent::Resize && watched == m_frame1)
        // Along the frame's foot, where it does not run through the texts.
        m_skin->setGeometry(0, m_frame1->height() - m_skin->naturalHeight(), m_frame1->width(),
                            m_skin->naturalHeight());
    return QDialog::eventFilter(watched, event);
}

void frmSplash1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    centreOnScreen();
}

void frmSplash1::centreOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 2);
}

} // namespace Ledgerly
