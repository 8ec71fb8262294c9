// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/application.h"

#include "lines/led_type.h"
#include "platform/profile_file.h"
#include "platform/program_folder.h"
#include "usb/vexo_usb.h"

namespace kirrup {

void Application::StartUp(const std::string& executablePath, platform::MessageSink& sink) {
  Step("ProgramFolder");
  programFolder = platform::FolderOf(executablePath);
  Step("SettingsPath");
  settingsLocation = FindSettingsFile(programFolder);
  settingsPath = settingsLocation.path;

  Step("LoadUsbLibrary");
  if (!usbLibrary.Load(programFolder + "/" + kUsbLibraryName)) {
    platform::InformationBox(sink, "Information", "Can't Load %s", kUsbLibraryName);
  }
  Step("ResolveUsbEntryPoints");
  usb.OpenUSBDevice = reinterpret_cast<UsbLink::OpenFn>(usbLibrary.Symbol("OpenUSBDevice"));
  usb.CloseUSBDevice = reinterpret_cast<UsbLink::CloseFn>(usbLibrary.Symbol("CloseUSBDevice"));
  usb.WriteUSB = reinterpret_cast<UsbLink::WriteFn>(usbLibrary.Symbol("WriteUSB"));
  usb.ReadUSB = reinterpret_cast<UsbLink::ReadFn>(usbLibrary.Symbol("ReadUSB"));
  if (usb.Present()) {
    usb.LastOpenError = reinterpret_cast<UsbLink::LastOpenErrorFn>(usbLibrary.Symbol(VEXOUSB_LAST_OPEN_ERROR_NAME));
  } else {
    usbLibrary.Unload();
    usb = UsbLink{};
    platform::InformationBox(sink, "Information", "Load %s file error!", kUsbLibraryName);
  }

  // One reading of the file serves the languages and section "Set".
  // A per-user file not made yet starts from the shipped one.
  platform::ProfileFile file(SettingsFileToRead(settingsLocation));
  file.Load();
  Step("ReadLanguages");
  ReadLanguages(file, languages);
  Step("ReadSettings");
  settings = ReadSettings(file, fonts);
  // Lang names the current language until the main dialog chooses again.
  languages.current = settings.lang < languages.count() ? settings.lang : 0;
  ApplyLedTypeSettings(settings);
  useMiddleOption = 0;
}

void Application::LoadFonts() {
  Step("LoadFontLibraries");
  fonts.LoadLibraries(programFolder);
  Step("CreateLedFonts");
  for (int type = 0; type < 3; ++type) fonts.CreateLedFont(type);
}

bool Application::WriteSettingsFile() {
  Step("OpenSettingsFile");
  PrepareSettingsFile(settingsLocation);  // when it fails, so does the save below
  platform::ProfileFile file(settingsPath);
  file.Load();  // a missing file starts as UTF-16 with its byte order mark
  Step("WriteSettings");
  WriteSettings(file, settings, fonts);
  Step("WriteLanguages");
  WriteLanguages(file, languages);
  return file.Save();
}

void Application::Release() {
  Step("ReleaseLedFonts");
  fonts.ReleaseLedFonts();
  Step("ReleaseUserFontTables");
  fonts.ReleaseUserFontTables();
  Step("UnloadUsbLibrary");
  usbLibrary.Unload();
  usb = UsbLink{};  // the entry points went with the library
  Step("ReleaseFontLibraries");
  fonts.ReleaseLibraries();
  Step("FreeLanguages");
  languages.tables.clear();
  languages.current = 0;
}

}  // namespace kirrup
