// KORVEL: start-up of the program with its window.
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <cstdio>

#include "app/Ports.h"
#include "app/StartUp.h"
#include "app/Texts.h"
#include "app/ui/Application.h"
#include "display/PlotStyle.h"
#include "display/TextEngine.h"
#include "display/ui/PlotWidget.h"
#include "display/ui/QtTextEngine.h"

namespace {

// Until the main window exists, the plot is shown by this frame.
class PlotFrame : public korvel::Frame {
  public:
    explicit PlotFrame(korvel::ui::PlotWidget& plot) : plot_(plot) {}
    void ShowPlot() override { plot_.ShowCanvas(); }

  private:
    korvel::ui::PlotWidget& plot_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    korvel::ui::PrepareApplication();

    if (korvel::StartUp() != 0) {
        QMessageBox box(QMessageBox::NoIcon, korvel::Text(korvel::TextId::NoMemoryCaption),
                        korvel::Text(korvel::TextId::NoMemoryMessage), QMessageBox::Ok);
        box.exec();
        return 0;
    }

    char title[128];
    std::snprintf(title, sizeof title, korvel::Text(korvel::TextId::MainTitleFormat), 1, 5);
    korvel::ui::QtTextEngine textEngine;
    korvel::InstallTextEngine(&textEngine);
    korvel::CreatePlotFonts();

    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(title));
    auto* plot = new korvel::ui::PlotWidget(&window);
    window.setCentralWidget(plot);
    PlotFrame frame(*plot);
    korvel::Ports.frame = &frame;
    window.resize(1024, 768);
    window.showMaximized();
    const int result = app.exec();
    korvel::ResetPorts();
    korvel::InstallTextEngine(nullptr);
    return result;
}
