// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The toolkit-free core of the application object: the state the windows share and the
// steps of start-up and exit that do not need the toolkit. CRotavuApp (the Qt side)
// runs the whole sequence:
//   start-up 1-3 framework   | StartUp: 4-9                | image list 10, cursors 11 |
//   LoadFonts: 12            | main dialog 13
//   exit: WriteSettingsFile: 1-3 | image list and cursors (4) | Release: 4 (LED fonts), 5-8 | 9
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/languages.h"
#include "app/settings.h"
#include "app/settings_location.h"
#include "device/usb_link.h"
#include "fonts/font_engine.h"
#include "platform/dynamic_library.h"
#include "platform/message_box.h"

namespace kirrup {

// The USB link library, relative to the program folder, as messages name it.
inline constexpr const char* kUsbLibraryName = "LIB/VexoUSB.so";

class Application {
 public:
  Application() = default;  // the built-in languages, "宋体", colour 255
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up steps 4 to 9: program folder and settings path from the executable's path,
  // the USB link library and its four entry points (failures are told through sink),
  // the language tables, section "Set" and the LedTypeTable's 11-LED row.
  void StartUp(const std::string& executablePath, platform::MessageSink& sink);
  // Start-up step 12: font libraries, size tables, user font paths, the three LED fonts.
  void LoadFonts();
  // Exit steps 1 to 3: section "Set", "LangCodePage" and the appended languages, written
  // over the file as it is now. Silent; false when the file could not be written.
  bool WriteSettingsFile();
  // Exit step 4 for the LED fonts, then steps 5 to 8.
  void Release();

  // Called with the name of every step as it begins (tests, diagnostics).
  std::function<void(std::string_view step)> onStep;
  void Step(std::string_view name) const {
    if (onStep) onStep(name);
  }

  // Shared state; the windows read and write it directly.
  std::string programFolder;
  std::string settingsPath;
  SettingsLocation settingsLocation;  // where settingsPath is and why
  Settings settings;
  LanguageList languages;
  FontEngine fonts;  // also home of bUserFont and SysFont
  UsbLink usb;       // all null when the library or any entry point is missing
  platform::DynamicLibrary usbLibrary;
  uint16_t systemLanguageId = 0x0409;  // the platform's user-interface language
  int editCounter = 0;                 // changing commands of the drawing board
  int boardFlag = 1;
  int useMiddleOption = 0;
};

}  // namespace kirrup
