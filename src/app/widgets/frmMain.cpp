#include "frmMain.h"

#include "GridEditing.h"
#include "MainMenuBar.h"
#include "MainToolbar.h"
#include "SchemaEditor.h"
#include "SkinBand.h"
#include "StatusPanels.h"
#include "TableTools.h"
#include "app/DesktopSettings.h"
#include "app/DocumentOpener.h"
#include "app/MainController.h"
#include "app/PalmUserChoice.h"
#include "app/ViewMemory.h"
#include "app/WindowLayout.h"
#include "common/Prompter.h"
#include "common/Twips.h"
#include "database/PdbError.h"
#include "grid/widgets/GridView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

static void initIconResources()
{
    Q_INIT_RESOURCE(ledgerly_icons);
}

namespace Ledgerly {

namespace {
// Tall enough for the progress bar that Frame2 places 250 twips down.
constexpr double statusBarHeight = 540;
} // namespace

frmMain::frmMain(const Services &services, QWidget *parent)
    : QWidget(parent)
    , m_controller(services.controller)
    , m_prompter(services.prompter)
    , m_opener(services.opener)
    , m_launcher(services.launcher)
    , m_programFolder(services.programFolder)
    , m_modalShower([](QDialog &dialog) { dialog.exec(); })
    , m_menuBar(
          new MainMenuBar([this](const QString &key) { SmartMenuXP1_MenuItemClick(key); }, this))
    , m_skin(new SkinBand(this))
    , m_toolbar(new MainToolbar([this](int number) { Toolbar2_ButtonClick(number); }, this))
    , m_frame1(new QFrame(this))
    , m_chooser(new QComboBox(m_frame1))
    , m_chkGroup(new QCheckBox(QStringLiteral("Group Fields"), m_frame1))
    , m_check1(new QCheckBox(QStringLiteral("Auto Fill"), m_frame1))
    , m_grid(new GridView(this))
{
    initIconResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ledgerly-48.png")));
    m_dpi = logicalDpiY();
    m_status = new StatusPanels(this, m_dpi);
    connect(m_status, &StatusPanels::panelsMoved, this, &frmMain::Form_Resize,
            Qt::QueuedConnection);

    m_skin->setObjectName(QStringLiteral("Skinner1"));
    m_skin->lower();
    buildFrame1();
    m_editing = new GridEditing(*m_grid, m_controller, m_prompter, *m_check1, this);
    m_tools = new TableTools(*this, *m_grid, *m_editing, m_controller, m_prompter, *m_status);
    m_menuBar->setActionSource([this](const QString &key) { return m_tools->actionFor(key); });
    connectController();

    resize(px(15000), imposedHeight());
}

frmMain::~frmMain() = default;

int frmMain::px(double twips) const
{
    return Twips::toPixels(twips, m_dpi);
}

void frmMain::buildFrame1()
{
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setFrameShape(QFrame::NoFrame);
    m_chooser->setObjectName(QStringLiteral("SectionListDBNam"));
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_chooser->setMinimumContentsLength(18);
    m_chkGroup->setObjectName(QStringLiteral("chkGroup"));
    m_check1->setObjectName(QStringLiteral("Check1"));

    auto *label = new QLabel(QStringLiteral("&Database:"), m_frame1);
    label->setBuddy(m_chooser);
    auto *layout = new QGridLayout(m_frame1);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setVerticalSpacing(4);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_chooser, 0, 1, 1, 2);
    layout->addWidget(m_chkGroup, 1, 1);
    layout->addWidget(m_check1, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    connect(m_chooser, &QComboBox::activated, this, &frmMain::SectionListDBNam_Activated);
    connect(m_chkGroup, &QCheckBox::clicked, this, &frmMain::chkGroup_Click);
}

void frmMain::connectController()
{
    connect(&m_controller, &MainController::statusTextChanged, m_status,
            &StatusPanels::setUserText);
    connect(&m_controller, &MainController::statusNumberChanged, m_status,
            &StatusPanels::setNumberText);
    connect(&m_controller, &MainController::progressChanged, m_status, &StatusPanels::setProgress);
    connect(&m_controller, &MainController::captionChanged, this, [this](const QString &caption) {
        setWindowTitle(caption);
        // The title names the open file: the commands on it follow.
        const bool open = m_controller.CurrentDatabase() && !m_controller.CurrentPath().isEmpty();
        m_menuBar->setDatabaseOpen(open);
        m_toolbar->setDatabaseOpen(open);
    });
    connect(&m_controller, &MainController::databaseLoaded, this, &frmMain::showDatabase);
    connect(m_grid, &GridView::columnWidthSetByHand, this, [this] {
        ViewMemory(m_controller.settings(), m_controller.state().AppName)
            .setColumnWidths(m_controller.document().schema().name(), m_grid->rememberedWidths());
    });
    connect(&m_controller, &MainController::quitRequested, this, &frmMain::quitNow);
    connect(&m_controller, &MainController::catalogueChanged, this, &frmMain::refillChooser);
    connect(&m_controller, &MainController::sectionChanged, this, &frmMain::syncChooser);
}

void frmMain::Form_Load()
{
    // The menu, the skin and the title are in place before the user is asked.
    connect(
        &m_controller, &MainController::catalogueChanged, this,
        [this] {
            BuildMenu();
            m_skin->loadSkin(
                DesktopSettings::programFile(m_programFolder, m_controller.state().Skin));
        },
        Qt::SingleShotConnection);
    if (!m_controller.startUp(m_programFolder))
        return;
    placeOnScreen();
    applyIcon();
    m_check1->setChecked(true);
    applyGridColumns();
    showAboutBox(true);
    m_grid->focusFirstCell();
}

void frmMain::ChangeUser()
{
    BuildMenu();
    applyIcon();
    m_check1->setChecked(true);
    applyGridColumns();
    m_grid->focusFirstCell();
}

void frmMain::applyIcon()
{
    const QString path = DesktopSettings::iconPath(m_controller.state());
    if (path.isEmpty())
        return;
    QImageReader reader(path);
    reader.setAllocationLimit(64);
    const QImage image = reader.read();
    // An icon that cannot be read keeps the built-in one.
    if (!image.isNull())
        setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

void frmMain::applyColumn0Width()
{
    if (m_controller.grid().columnCount() > 0)
        m_grid->setColumnWidth(0, px(WindowLayout::column0Width));
}

void frmMain::showDatabase()
{
    // The widths a person gave this database's columns, else widths that fit.
    m_grid->setRememberedWidths(ViewMemory(m_controller.settings(), m_controller.state().AppName)
                                    .columnWidths(m_controller.document().schema().name()));
    applyGridColumns();
}

void frmMain::applyGridColumns()
{
    m_grid->applyColumns();
    applyColumn0Width();
}

int frmMain::imposedHeight() const
{
    // The fixed height is the whole window's, title bar and borders included.
    // Until the window manager tells (or where there is none), a usual title
    // bar is assumed so the status bar still sits near the bottom edge.
    int decoration = isWindow() && isVisible() ? frameGeometry().height() - height() : 0;
    if (decoration <= 0)
        decoration = style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                     2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    int height = px(WindowLayout::windowHeight) - decoration;
    // A screen smaller than the fixed height (or one scaled up) keeps the
    // whole window on it.
    if (const QScreen *shown = screen())
        height = qMin(height, shown->availableGeometry().height() - decoration);
    return qMax(100, height);
}

void frmMain::placeOnScreen()
{
    const QByteArray remembered =
        ViewMemory(m_controller.settings(), m_controller.state().AppName).windowGeometry();
    // Qt moves a remembered place that is off every screen back onto one.
    if (!remembered.isEmpty() && restoreGeometry(remembered))
        return;
    const QScreen *shown = screen();
    if (!shown)
        return;
    const QRect room = shown->availableGeometry();
    const int frameWidth = qMax(0, frameGeometry().width() - width());
    resize(qMin(width(), room.width() - frameWidth), imposedHeight());
    move(room.left() + qMax(0, (room.width() - frameGeometry().width()) / 2),
         room.top() + qMax(0, (room.height() - frameGeometry().height()) / 2));
}

void frmMain::Form_Resize()
{
    if (m_inLayout || (windowState() & Qt::WindowMinimized))
        return;
    m_inLayout = true;
    // The height is put back after every resize, so dragging the bottom edge
    // has no lasting effect; a maximised or full-screen window keeps its own.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const int wanted = imposedHeight();
        if (height() != wanted)
            resize(width(), wanted);
    }

    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);

    WindowLayout::Input in;
    in.windowWidth = Twips::fromPixels(width(), m_dpi);
    WindowLayout::Result r = WindowLayout::compute(in);

    // The status bar is placed first, so that panel 4 has its final place.
    QStatusBar *status = m_status->statusBar();
    status->setGeometry(px(r.statusBar.left), px(r.statusBar.top), px(r.statusBar.width),
                        px(statusBarHeight));
    if (status->layout())
        status->layout()->activate();
    in.statusPanel4Left = Twips::fromPixels(m_status->panel4Left(), m_dpi);
    r = WindowLayout::compute(in);

    const int gridTop = px(r.grid.top);
    const int toolbarTop = px(r.toolbar.top);
    const int toolbarHeight = qMin(m_toolbar->sizeHint().height(), gridTop - toolbarTop - 2);
    m_toolbar->setGeometry(px(r.toolbar.left), toolbarTop, px(r.toolbar.width), toolbarHeight);
    m_skin->setGeometry(0, menuHeight, width(), gridTop - menuHeight);

    m_tools->setTableGeometry(QRect(px(r.grid.left), gridTop, px(r.grid.width), px(r.grid.height)));
    applyColumn0Width();

    const int panel4Width = m_status->panel(4)->width();
    QFrame *frame2 = m_status->frame2();
    frame2->setGeometry(px(r.frame2.left), px(r.frame2.top), qMax(10, panel4Width - px(16)),
                        px(r.frame2.height));
    m_status->progressBar()->setGeometry(0, px(r.progress.top), frame2->width(),
                                         px(r.progress.height));
    frame2->raise();

    const int frame1Left = px(r.frame1.left);
    const int frame1Top = qMax(px(r.frame1.top), menuHeight);
    const int frame1Width = qMin(px(6400), px(r.grid.width) - frame1Left);
    m_frame1->setGeometry(frame1Left, frame1Top, qMax(0, frame1Width), gridTop - frame1Top - 2);
    m_frame1->raise();
    m_inLayout = false;
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Only now is the window frame known, which the imposed height includes.
    QTimer::singleShot(0, this, &frmMain::Form_Resize);
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Keys no control used (the table and its editors leave Insert alone)
    // arrive here; Insert switches the INS indicator.
    if (event->key() == Qt::Key_Insert) {
        m_status->setInsertMode(!m_status->insertMode());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_controller.isQuitRequested()) {
        event->accept();
        return;
    }
    // Unsaved schema changes are asked about first; Cancel keeps both open.
    if (m_schemaEditor && !m_schemaEditor->close()) {
        event->ignore();
        return;
    }
    // The close box leaves the focus where it was: an edit in progress counts
    // as an unsaved edit, and a Yes saves it.
    m_grid->commitOpenEditor();
    const int answer = m_controller.AskSaveChanges();
    if (answer == Prompter::Cancel) {
        event->ignore();
        return;
    }
    // A save that failed leaves the edits unsaved: closing now would lose them.
    if (answer == Prompter::Yes && m_controller.DatabaseEdited()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    m_controller.users().storeUserSettings();
    ViewMemory(m_controller.settings(), m_controller.state().AppName)
        .setWindowGeometry(saveGeometry());
    if (m_about)
        m_about->close();
}

void frmMain::quitNow()
{
    // A damaged database ends the program without the closing questions.
    if (m_about)
        m_about->close();
    close();
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
}

} // namespace Ledgerly
