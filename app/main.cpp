// Kirrup: the application object runs start-up, the main dialog and exit.
#include "app/rotavu_app.h"

int main(int argc, char** argv) {
  CRotavuApp app(argc, argv);
  return app.Run();
}
