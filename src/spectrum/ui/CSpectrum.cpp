#include "spectrum/ui/CSpectrum.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QToolTip>
#include <QVBoxLayout>

#include "ports/Ports.h"
#include "ports/SpectrumControlIds.h"
#include "ports/ui/Bitmaps.h"
#include "ports/ui/ControlBar.h"
#include "ports/ui/UiText.h"
#include "spectrum/SpectrumCopy.h"
#include "spectrum/SpectrumFile.h"
#include "spectrum/SpectrumRun.h"
#include "spectrum/SpectrumSelection.h"
#include "spectrum/SpectrumTips.h"
#include "spectrum/SpectrumView.h"
#include "spectrum/SpectrumWindow.h"
#include "spectrum/ui/SpectrumPlotWidget.h"

namespace korvel::ui {

CSpectrum* SpectrumWnd = nullptr;

namespace {

using Keep = ControlBar::Keep;

// The bars' ports while no spectrum window exists.
Controls NoTopBar;
Controls NoBottomBar;

// The default size of a new window; the desktop places it.
constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 500;

// Which bar and control a widget is, for its tool tip.
constexpr const char* BarProperty = "spectrumBar";
constexpr const char* IdProperty = "spectrumId";

void BottomFieldChanged(int32_t id) {
    SpectrumFieldChanged(id);
    if (SpectrumWnd != nullptr) SpectrumWnd->ShowCanvas();
}

// The border line of a docked bar on its edge towards the plot.
QWidget* BorderLine(QWidget* parent) {
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    line->setPalette(palette);
    return line;
}

}  // namespace

CSpectrum::CSpectrum() : topControls_(nullptr), bottomControls_(BottomFieldChanged) {
    setObjectName("spectrumWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText(TextId::SpectrumTitle));
    SpectrumWnd = this;

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The lower bar first, as the window has always made them.
    BuildBottomBar();
    BuildTopBar();
    plot_ = new SpectrumPlotWidget(this);
    plot_->setObjectName("spectrumPlot");
    column->addWidget(topBar_);
    column->addWidget(BorderLine(this));
    column->addWidget(plot_, 1);
    column->addWidget(BorderLine(this));
    column->addWidget(bottomBar_);

    Ports.spectrumTopBar = &topControls_;
    Ports.spectrumBottomBar = &bottomControls_;
    SpectrumWindowCreated();
    resize(DefaultWidth, DefaultHeight);

    // Escape drops a range being marked with the mouse.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (SpectrumCancelSelection()) ShowCanvas();
    });

    // The program ends with its main window: this one goes with it.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [] { delete SpectrumWnd; });
}

CSpectrum::~CSpectrum() {
    SpectrumWindowDestroyed();
    if (Ports.spectrumTopBar == &topControls_) Ports.spectrumTopBar = &NoTopBar;
    if (Ports.spectrumBottomBar == &bottomControls_) Ports.spectrumBottomBar = &NoBottomBar;
    if (SpectrumWnd == this) SpectrumWnd = nullptr;
}

void CSpectrum::BuildTopBar() {
    topBar_ = new ControlBar(366, 19, this, ControlBar::Narrow::Wrap);
    topBar_->setObjectName("spectrumTopBar");
    ControlBar* bar = topBar_;
    topControls_.SetOwner(bar);
    auto add = [this, bar](int32_t id, QWidget* widget, int x, int y, int cx, int cy) {
        widget->setObjectName(QStringLiteral("spectrumTop%1").arg(id));
        widget->setProperty(BarProperty, static_cast<int>(SpectrumBar::Top));
        widget->setProperty(IdProperty, id);
        widget->installEventFilter(this);
        bar->Place(widget, x, y, cx, cy);
        topControls_.Add(id, widget);
    };
    auto* save = BitmapButton("save", bar);
    add(spectrumTop::Save, save, 3, 2, 18, 15);
    auto* run = BitmapButton("SBitmap", bar);
    add(spectrumTop::Run, run, 28, 2, 18, 15);
    add(spectrumTop::Accumulate, new QCheckBox(UiText(TextId::SpectrumAccumulate), bar), 56, 3, 88,
        10);
    auto* counter = new QLabel(bar);
    add(spectrumTop::Counter, counter, 149, 4, 118, 8);
    auto* copy = BitmapButton("B2Bitmap", bar);
    add(spectrumTop::Copy, copy, 304, 2, 18, 15);

    connect(save, &QPushButton::clicked, this, [] { SaveSpectrum(); });
    connect(run, &QPushButton::clicked, this, [this] {
        ToggleSpectrumRun();
        ShowCanvas();
    });
    connect(copy, &QPushButton::clicked, this, [] { CopySpectrum(); });
}

void CSpectrum::BuildBottomBar() {
    bottomBar_ = new ControlBar(366, 14, this, ControlBar::Narrow::Wrap);
    bottomBar_->setObjectName("spectrumBottomBar");
    ControlBar* bar = bottomBar_;
    bottomControls_.SetOwner(bar);
    auto add = [this, bar](int32_t id, QWidget* widget, int x, int y, int cx, int cy,
                           Keep keep = Keep::Apart) {
        widget->setObjectName(QStringLiteral("spectrumBottom%1").arg(id));
        widget->setProperty(BarProperty, static_cast<int>(SpectrumBar::Bottom));
        widget->setProperty(IdProperty, id);
        widget->installEventFilter(this);
        bar->Place(widget, x, y, cx, cy, keep);
        bottomControls_.Add(id, widget);
    };
    auto label = [bar](TextId text, Qt::Alignment alignment = Qt::AlignLeft) {
        auto* l = new QLabel(UiText(text), bar);
        l->setAlignment(alignment | Qt::AlignVCenter);
        return l;
    };
    add(spectrumBottom::MinLabel, label(TextId::SpectrumMinLabel, Qt::AlignRight), 4, 3, 30, 8);
    add(spectrumBottom::Min, new QLineEdit(bar), 36, 2, 54, 12, Keep::WithPrevious);
    bar->Place(label(TextId::SpectrumUnit), 93, 3, 14, 8, Keep::WithPrevious);
    add(spectrumBottom::WidthLabel, label(TextId::SpectrumWidthLabel, Qt::AlignRight), 112, 3, 26,
        8);
    add(spectrumBottom::Width, new QLineEdit(bar), 141, 2, 60, 12, Keep::WithPrevious);
    bar->Place(label(TextId::SpectrumUnit), 203, 3, 14, 8, Keep::WithPrevious);
    add(spectrumBottom::MaxFreq, label(TextId::SpectrumMaxPlaceholder), 223, 3, 89, 8);
}

void CSpectrum::PaintNow() {
    PaintSpectrum(topBar_->height(), bottomBar_->height());
    ShowCanvas();
}

void CSpectrum::ShowCanvas() {
    plot_->ShowCanvas();
}

// A new size repaints everything: the canvas is the new client area.
void CSpectrum::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SpectrumCanvas.Resize(width(), height());
    PaintNow();
}

// The window is deleted a moment later; a tick due meanwhile must find the
// run over already.
void CSpectrum::closeEvent(QCloseEvent* event) {
    SpectrumWindowDestroyed();
    QWidget::closeEvent(event);
}

bool CSpectrum::event(QEvent* event) {
    // Coming back to the window after a capture or a new range in the main
    // window shows the spectrum of what the main plot shows now.
    if (event->type() == QEvent::WindowActivate && SpectrumOutdated()) PaintNow();
    return QWidget::event(event);
}

// Tips are asked for when they are to be shown: the run counter has one only
// while a run goes on.
bool CSpectrum::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::eventFilter(watched, event);
    const QVariant bar = watched->property(BarProperty);
    const QVariant id = watched->property(IdProperty);
    const char* tip = bar.isValid() && id.isValid()
                          ? SpectrumTipText(static_cast<SpectrumBar>(bar.toInt()), id.toInt())
                          : nullptr;
    if (tip == nullptr) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromUtf8(tip),
                           qobject_cast<QWidget*>(watched));
    }
    return true;
}

bool ShowSpectrumWindow() {
    if (SpectrumWnd == nullptr) SpectrumWnd = new CSpectrum();
    if (SpectrumWnd == nullptr) return false;
    SpectrumWnd->showNormal();
    SpectrumWnd->raise();
    SpectrumWnd->activateWindow();
    SpectrumWnd->PaintNow();
    return true;
}

void SpectrumRunTickShown() {
    SpectrumRunTick();
    if (SpectrumWnd != nullptr) SpectrumWnd->ShowCanvas();
}

}  // namespace korvel::ui
