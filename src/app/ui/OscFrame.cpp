#include "app/ui/OscFrame.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "acquisition/CaptureEngine.h"
#include "acquisition/TickedCapture.h"
#include "app/BarTips.h"
#include "app/ControlBarSetup.h"
#include "app/DataFileCommands.h"
#include "app/MainCommands.h"
#include "app/SettingsCommand.h"
#include "app/StartUp.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/DeviceDlg.h"
#include "app/ui/SettingsDlg.h"
#include "canvas/TextEngine.h"
#include "display/PlotCopy.h"
#include "display/PlotStyle.h"
#include "display/ui/PlotWidget.h"
#include "model/OscState.h"
#include "ports/ControlIds.h"
#include "ports/ui/Bitmaps.h"
#include "ports/ui/ControlBar.h"
#include "ports/ui/UiText.h"
#include "ports/ui/UpDownControl.h"
#include "spectrum/SpectrumWindow.h"
#include "spectrum/ui/CSpectrum.h"

namespace korvel::ui {

namespace {

// Every control is named after its bar and id, so that tests and tools find it.
QString ControlName(Bar bar, int32_t id) {
    return QStringLiteral("%1%2").arg(bar == Bar::Top ? "top" : "bottom").arg(id);
}

using Keep = ControlBar::Keep;

// A check box with its text on the left of the box.
QCheckBox* LeftTextCheckBox(const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

}  // namespace

COscFrame::COscFrame(QWidget* parent)
    : QMainWindow(parent),
      topControls_(TopBarTextChanged),
      bottomControls_(BottomBarTextChanged),
      dialogs_(this),
      helpOpener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName("mainFrame");
    BuildMenu();
    BuildAccelerators();

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildTopBar(client);
    plot_ = new PlotWidget(client);
    plot_->setObjectName("plot");
    // The plot's first drawing may stop for the notice; it comes once the
    // window stands on the screen (see showEvent), its place kept meanwhile.
    QSizePolicy keepPlace = plot_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    plot_->setSizePolicy(keepPlace);
    plot_->hide();
    BuildBottomBar(client);
    // Up and Down in the Accumulator and Average over fields step them as
    // their arrows do.
    auto spinOf = [this](const char* bar, int32_t id) {
        return findChild<UpDownControl*>(QStringLiteral("%1%2").arg(bar).arg(id));
    };
    auto fieldOf = [this](const char* bar, int32_t id) {
        return findChild<QLineEdit*>(QStringLiteral("%1%2").arg(bar).arg(id));
    };
    spinOf("top", top::AccumulatorSpin)->TakeKeysOf(fieldOf("top", top::Accumulator));
    spinOf("bottom", bottom::AverageSpin)->TakeKeysOf(fieldOf("bottom", bottom::Average));
    column->addWidget(topBar_);
    column->addWidget(plot_, 1);
    column->addWidget(bottomBar_);
    setCentralWidget(client);

    framePort_ = std::make_unique<QtFrame>(this, plot_);
    timers_.SetTick(TimerId::ExtTrigger, ExtTimerTick);
    timers_.SetTick(TimerId::Oscillograph, OscTimerTick);
    timers_.SetTick(TimerId::CaptureTick, CaptureTick);
    timers_.SetTick(TimerId::SpectrumRun, SpectrumRunTickShown);
    Ports.timers = &timers_;
    Ports.topBar = &topControls_;
    Ports.bottomBar = &bottomControls_;
    Ports.frame = framePort_.get();
    Ports.dialogs = &dialogs_;
    Ports.clipboard = &clipboard_;

    SetUpControlBars();
    InstallTextEngine(&textEngine_);
    CreatePlotFonts();
    resize(1024, 768);
}

COscFrame::~COscFrame() {
    SetMainWindowActive(false);
    ResetPorts();
    ClearPlotFonts();
    if (InstalledTextEngine() == &textEngine_) InstallTextEngine(nullptr);
}

void COscFrame::BuildMenu() {
    QMenuBar* bar = menuBar();
    // The bar's separators between File, Settings, Actions and Help, which
    // the usual styles do not draw in a menu bar: a thin line that no click
    // or key reaches.
    auto divider = [bar] { bar->addAction(QStringLiteral("\u2502"))->setEnabled(false); };
    auto command = [this](int32_t id) { return [this, id] { Command(id); }; };

    QMenu* file = bar->addMenu(UiText(TextId::MenuFile));
    file->addAction(UiText(TextId::MenuOpen), this, command(command::Open));
    file->addAction(UiText(TextId::MenuSave), this, command(command::Save));
    file->addAction(UiText(TextId::MenuWinSave), this, command(command::WinSave));
    file->addSeparator();
    file->addAction(UiText(TextId::MenuExit), this, command(command::Exit));
    divider();
    bar->addAction(UiText(TextId::MenuSettings), this, command(command::Settings));
    bar->addAction(UiText(TextId::MenuDevice), this, command(command::Device));
    divider();
    QMenu* actions = bar->addMenu(UiText(TextId::MenuActions));
    actions->addAction(UiText(TextId::MenuManualStart), this, command(command::ManualStart));
    actions->addAction(UiText(TextId::MenuExternalStart), this, command(command::ExternalStart));
    divider();
    QMenu* help = bar->addMenu(UiText(TextId::MenuHelp));
    help->addAction(UiText(TextId::MenuHelpIndex), this, command(command::Help));
    help->addAction(UiText(TextId::MenuAbout), this, command(command::About));
}

void COscFrame::BuildAccelerators() {
    const std::pair<QKeySequence, int32_t> keys[] = {
        {QKeySequence(Qt::Key_F1), command::Help},
        {QKeySequence(Qt::Key_F2), command::WinSave},
        {QKeySequence(Qt::Key_F3), command::Open},
        {QKeySequence(Qt::Key_F4), command::Save},
        {QKeySequence(Qt::Key_F5), command::ManualStart},
        {QKeySequence(Qt::Key_F6), command::ExternalStart},
        {QKeySequence(Qt::ALT | Qt::Key_X), command::Exit},
        {QKeySequence(Qt::Key_Escape), command::Cancel},
    };
    for (const auto& [key, id] : keys) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, [this, id = id] { Command(id); });
    }
}

void COscFrame::BuildTopBar(QWidget* parent) {
    topBar_ = new ControlBar(434, 21, parent, ControlBar::Narrow::Wrap);
    topBar_->setObjectName("topBar");
    ControlBar* bar = topBar_;
    auto add = [this, bar](int32_t id, QWidget* widget, int x, int y, int cx, int cy,
                           Keep keep = Keep::Apart) {
        widget->setObjectName(ControlName(Bar::Top, id));
        if (const char* tip = TipText(Bar::Top, id)) widget->setToolTip(QString::fromUtf8(tip));
        bar->Place(widget, x, y, cx, cy, keep);
        topControls_.Add(id, widget);
    };
    topControls_.SetOwner(bar);

    auto* open = BitmapButton("open", bar);
    add(top::Open, open, 4, 3, 19, 16);
    auto* save = BitmapButton("save", bar);
    add(top::Save, save, 27, 3, 19, 16);
    auto* winSave = BitmapButton("save1", bar);
    add(top::WinSave, winSave, 50, 3, 19, 16);
    auto* frequencies = new QComboBox(bar);
    frequencies->setMaxVisibleItems(8);
    add(top::FrequencyList, frequencies, 75, 4, 49, 0);
    auto* startStop = BitmapButton("B1Bitmap", bar);
    add(top::StartStop, startStop, 125, 3, 18, 16);
    auto* external = LeftTextCheckBox(UiText(TextId::BarExternal), bar);
    add(top::External, external, 145, 7, 41, 10);
    auto* progress = new QProgressBar(bar);
    progress->setTextVisible(false);
    progress->setStyleSheet(
        QStringLiteral("QProgressBar { background: white; border: 1px solid gray; }"
                       "QProgressBar::chunk { background: rgb(255, 70, 70); }"));
    add(top::Progress, progress, 145, 7, 50, 7, Keep::WithPrevious);  // in the box's place
    add(top::AccumulatorLabel, new QLabel(UiText(TextId::BarAccumulator), bar), 199, 6, 43, 9);
    add(top::Accumulator, new QLineEdit(bar), 243, 5, 24, 14, Keep::WithPrevious);
    auto* accumulatorSpin = new UpDownControl(bar);
    add(top::AccumulatorSpin, accumulatorSpin, 267, 5, 7, 14, Keep::WithPrevious);
    auto* oscillograf = LeftTextCheckBox(UiText(TextId::BarOscillograf), bar);
    add(top::Oscillograf, oscillograf, 278, 7, 60, 10);
    add(top::OscFreq, new QLineEdit(bar), 342, 4, 40, 14);
    auto* hz = new QLabel(UiText(TextId::BarHz), bar);
    hz->setObjectName("topHz");
    bar->Place(hz, 383, 6, 10, 8, Keep::WithPrevious);
    auto* showSpectrum = BitmapButton("B4Bitmap", bar);
    add(top::ShowSpectrum, showSpectrum, 396, 4, 17, 14);

    auto command = [this](int32_t id) { return [this, id] { Command(id); }; };
    connect(open, &QPushButton::clicked, this, command(command::Open));
    connect(save, &QPushButton::clicked, this, command(command::Save));
    connect(winSave, &QPushButton::clicked, this, command(command::WinSave));
    connect(frequencies, &QComboBox::activated, this, [] { FrequencySelected(); });
    connect(startStop, &QPushButton::clicked, this, [] { StartStopCommand(); });
    connect(oscillograf, &QCheckBox::clicked, this, [] { OscillografClicked(); });
    connect(accumulatorSpin, &UpDownControl::deltaProposed, this,
            [](int delta) { AccumulatorStep(delta); });
    connect(showSpectrum, &QPushButton::clicked, this, [] { ShowSpectrum(); });
}

void COscFrame::BuildBottomBar(QWidget* parent) {
    bottomBar_ = new ControlBar(452, 18, parent, ControlBar::Narrow::Wrap);
    bottomBar_->setObjectName("bottomBar");
    ControlBar* bar = bottomBar_;
    auto add = [this, bar](int32_t id, QWidget* widget, int x, int y, int cx, int cy,
                           Keep keep = Keep::Apart) {
        widget->setObjectName(ControlName(Bar::Bottom, id));
        if (const char* tip = TipText(Bar::Bottom, id)) widget->setToolTip(QString::fromUtf8(tip));
        bar->Place(widget, x, y, cx, cy, keep);
        bottomControls_.Add(id, widget);
    };
    bottomControls_.SetOwner(bar);

    add(bottom::MinLabel, new QLabel(UiText(TextId::BarMin), bar), 2, 5, 27, 8);
    add(bottom::Min, new QLineEdit(bar), 30, 2, 48, 14, Keep::WithPrevious);
    add(bottom::MinUnit, new QLabel(UiText(TextId::BarMicroseconds), bar), 80, 6, 8, 8,
        Keep::WithPrevious);
    add(bottom::WidthLabel, new QLabel(UiText(TextId::BarWidth), bar), 91, 5, 30, 8);
    add(bottom::Width, new QLineEdit(bar), 120, 2, 48, 14, Keep::WithPrevious);
    add(bottom::WidthUnit, new QLabel(UiText(TextId::BarMicroseconds), bar), 170, 6, 9, 8,
        Keep::WithPrevious);
    auto* copyPlot = BitmapButton("B2Bitmap", bar);
    add(bottom::CopyPlot, copyPlot, 183, 2, 18, 14);
    add(bottom::AverageLabel, new QLabel(UiText(TextId::BarAverageOver), bar), 206, 4, 46, 9);
    add(bottom::Average, new QLineEdit(bar), 254, 2, 41, 14, Keep::WithPrevious);
    auto* averageSpin = new UpDownControl(bar);
    add(bottom::AverageSpin, averageSpin, 296, 2, 6, 14, Keep::WithPrevious);
    auto* setZero = new QPushButton(UiText(TextId::BarSetZero), bar);
    add(bottom::SetZero, setZero, 308, 2, 30, 14);
    auto* followMode = new QCheckBox(UiText(TextId::BarFollowMode), bar);
    add(bottom::FollowMode, followMode, 343, 4, 85, 10);

    connect(copyPlot, &QPushButton::clicked, this, [] { CopyPlotToClipboard(); });
    connect(averageSpin, &UpDownControl::deltaProposed, this,
            [](int delta) { AverageStep(delta); });
    connect(setZero, &QPushButton::clicked, this, [] { SetZeroCommand(); });
    connect(followMode, &QCheckBox::clicked, this, [] { FollowModeClicked(); });
}

void COscFrame::Command(int32_t id) {
    switch (id) {
        case command::ManualStart:
            ManualStartCommand();
            break;
        case command::ExternalStart:
            ExternalStartCommand();
            break;
        case command::Exit:
            close();
            break;
        case command::Help:
            OpenHelp();
            break;
        case command::About: {
            CAboutDlg about(this);
            about.exec();
            break;
        }
        case command::Open:
            OpenCommand();
            break;
        case command::Save:
            SaveCommand();
            break;
        case command::WinSave:
            WinSaveCommand();
            break;
        case command::Device:
            if (!PeriodicCaptureOwnsDisplay()) {
                CDeviceDlg device(this);
                device.exec();
            }
            break;
        case command::Cancel:
            CancelCommand();
            break;
        case command::Settings:
            SettingsCommand([this] {
                CSettingsDlg settings(this);
                return settings.exec() == QDialog::Accepted;
            });
            break;
        default:
            break;
    }
}

QString COscFrame::HelpIndexPath() {
    // Beside an installed program first, else the guide of the source tree.
    const QString installed =
        QDir(QCoreApplication::applicationDirPath()).filePath("../share/korvel/docs/index.html");
    if (QFileInfo::exists(installed)) return QFileInfo(installed).canonicalFilePath();
#ifdef KORVEL_INSTALLED_DOCS_DIR
    // Where the installation put it, for a program started from elsewhere.
    const QString prefixed = QStringLiteral(KORVEL_INSTALLED_DOCS_DIR "/index.html");
    if (QFileInfo::exists(prefixed)) return prefixed;
#endif
    return QStringLiteral(KORVEL_DOCS_DIR "/index.html");
}

void COscFrame::OpenHelp() {
    const QString path = HelpIndexPath();
    if (QFileInfo::exists(path) && helpOpener_(QUrl::fromLocalFile(path))) return;
    const QString message = UiText(TextId::HelpNotOpened).replace(QStringLiteral("%s"), path);
    Ports.dialogs->Message(message.toUtf8().constData(), Text(TextId::AboutProduct));
}

// The first show sets the device up, which shows the notice modally, and
// then shows the plot, which draws it. A modal dialog inside the window's own
// show would run the event loop while Qt walks the window's children, so both
// follow once the show is done.
void COscFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (plot_->isHidden()) {
        QTimer::singleShot(0, plot_, [plot = plot_] {
            SetUpDevice();
            plot->show();
        });
    }
}

void COscFrame::closeEvent(QCloseEvent* event) {
    SaveConfigOnExit();
    SetMainWindowActive(false);
    timers_.Kill(TimerId::ExtTrigger);
    timers_.Kill(TimerId::Oscillograph);
    timers_.Kill(TimerId::CaptureTick);
    CancelTickedCapture();
    event->accept();
    emit closed();
}

}  // namespace korvel::ui
