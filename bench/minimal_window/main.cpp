// An empty window of the main window's client size, with a title of its own
// for the benchmark to find.
#include <QApplication>
#include <QWidget>

#include "shell/layout/form_layout.h"

int main(int argc, char** argv) {
  using vantrel::layout::kWindow;
  using vantrel::layout::TwipsToPixels;
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Minimal Qt window");
  window.resize(TwipsToPixels(kWindow.client_width), TwipsToPixels(kWindow.client_height));
  window.show();
  return application.exec();
}
