// SPDX-License-Identifier: GPL-2.0-or-later
// Kirrup: the application object runs start-up, the main dialog and exit.
#include <cstdio>

#include "app/command_line.h"
#include "app/rotavu_app.h"

int main(int argc, char** argv) {
  const kirrup::CommandLine line = kirrup::ParseCommandLine({argv + (argc > 0 ? 1 : 0), argv + argc});
  if (line.action != kirrup::CommandLine::Action::Run) return kirrup::FinishCommandLine(line, stdout, stderr);
  CRotavuApp::PrepareAhead();
  CRotavuApp app(argc, argv);
  app.fileToOpen = line.file;
  return app.Run();
}
