// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/dynamic_library.h"

#include <gtest/gtest.h>

#include "platform/program_folder.h"

namespace kirrup::platform {
namespace {

TEST(DynamicLibrary, LoadsResolvesAndUnloads) {
  DynamicLibrary lib;
  EXPECT_FALSE(lib.loaded());
  EXPECT_EQ(lib.Symbol("cos"), nullptr);
  ASSERT_TRUE(lib.Load("libm.so.6"));
  auto cosine = reinterpret_cast<double (*)(double)>(lib.Symbol("cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(lib.Symbol("NoSuchEntryPoint"), nullptr);

  DynamicLibrary moved = std::move(lib);
  EXPECT_FALSE(lib.loaded());
  EXPECT_TRUE(moved.loaded());
  EXPECT_FALSE(moved.Load("/nonexistent/LIB/VexoUSB.so"));
  EXPECT_FALSE(moved.loaded());
}

TEST(ProgramFolder, CutsBeforeTheLastSlash) {
  EXPECT_EQ(FolderOf("/opt/kirrup/bin/kirrup"), "/opt/kirrup/bin");
  EXPECT_EQ(FolderOf("/kirrup"), "");  // in the root: settings at /LIB/Kirrup.ini
  EXPECT_EQ(FolderOf("kirrup"), "kirrup");
  const std::string exe = ExecutablePath();
  EXPECT_EQ(exe.substr(exe.rfind('/') + 1), "platform_test");
  EXPECT_EQ(ProgramFolder() + "/platform_test", exe);
}

}  // namespace
}  // namespace kirrup::platform
