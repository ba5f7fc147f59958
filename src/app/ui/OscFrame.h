// The main window: menu, keys, the two control bars and the plot between them.
// Its handlers read a control, call the program's command, write a control.
#pragma once

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/ui/QtFrame.h"
#include "canvas/ui/QtTextEngine.h"
#include "ports/ui/QtClipboard.h"
#include "ports/ui/QtControls.h"
#include "ports/ui/QtDialogs.h"
#include "ports/ui/QtTimerHost.h"

namespace korvel::ui {

class ControlBar;
class PlotWidget;

class COscFrame : public QMainWindow {
    Q_OBJECT
  public:
    // Builds the window, points the program's ports at its bars, timers and
    // dialogs, and fills the bars from the settings.
    explicit COscFrame(QWidget* parent = nullptr);
    ~COscFrame() override;

    // A menu or key command by its id (ControlIds.h, namespace command).
    void Command(int32_t id);

    // Opens the user guide; replaced by tests, which have no desktop.
    void SetHelpOpener(std::function<bool(const QUrl&)> opener) { helpOpener_ = std::move(opener); }
    // The user guide's index page.
    static QString HelpIndexPath();

    QtControls& TopControls() { return topControls_; }
    QtControls& BottomControls() { return bottomControls_; }
    QtTimerHost& Timers() { return timers_; }
    QtFrame& FramePort() { return *framePort_; }
    ControlBar* TopBar() const { return topBar_; }
    ControlBar* BottomBar() const { return bottomBar_; }
    PlotWidget* Plot() const { return plot_; }

  signals:
    // The window has been closed by Exit, Alt+X or its close box.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenu();
    void BuildAccelerators();
    void BuildTopBar(QWidget* parent);
    void BuildBottomBar(QWidget* parent);
    void OpenHelp();

    QtControls topControls_;
    QtControls bottomControls_;
    QtTimerHost timers_;
    std::unique_ptr<QtFrame> framePort_;
    QtDialogs dialogs_;
    QtClipboard clipboard_;
    QtTextEngine textEngine_;
    ControlBar* topBar_ = nullptr;
    ControlBar* bottomBar_ = nullptr;
    PlotWidget* plot_ = nullptr;
    std::function<bool(const QUrl&)> helpOpener_;
};

}  // namespace korvel::ui
