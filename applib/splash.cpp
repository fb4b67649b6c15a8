#include "applib/splash.h"

#include <fstream>

#include "applib/paths.h"

namespace applib {

std::uint8_t CheckValue(std::string_view bytes, std::uint8_t start) {
  std::uint8_t value = start;
  for (const char byte : bytes) value ^= static_cast<std::uint8_t>(byte);
  return value == 0 ? 1 : value;
}

std::optional<std::uint8_t> FileCheckValue(TextView path) {
  if (!FileExists(path)) return std::nullopt;
  std::ifstream in(ToFsPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::uint8_t value = 0;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) value ^= static_cast<std::uint8_t>(buffer[i]);
  }
  if (in.bad()) return std::nullopt;
  return value == 0 ? 1 : value;
}

void SplitProductName(TextView long_name, Text& name, Text& suffix) {
  if (long_name.ends_with(u"32")) {
    name = Text(long_name.substr(0, long_name.size() - 2));
    suffix = u"32";
  } else {
    name = Text(long_name);
    suffix.clear();
  }
}

Text SplashPicturePath(const Library& lib) {
  return AddSlash(lib.pfad_main) + ChangeExtension(lib.ExecutableName(), u"jpg");
}

Text SuitePicturePath(const Library& lib) { return ChangeExtension(SplashPicturePath(lib), u"gif"); }

SplashScreen SplashTexts(const Library& lib, std::uint32_t accent, TextView credit) {
  SplashScreen splash;
  SplitProductName(lib.AppLongName, splash.name, splash.name_suffix);
  splash.accent = accent;
  splash.version = u"V" + lib.AppVersionText;
  splash.credit = mission::IsGiven(credit) ? Text(credit) : Text(kSuiteCredit);
  return splash;
}

void SplashStart(Library& lib, std::uint8_t expected_check, std::uint32_t accent, std::int16_t style_flag,
                 std::int16_t option_flag, TextView credit) {
  static_cast<void>(style_flag);
  static_cast<void>(option_flag);
  SplashScreen splash = SplashTexts(lib, accent, credit);
  lib.ad_brix = lib.FindLibraryDir();
  lib.pfad_main = lib.FindProgramDir();

  const Text picture = SplashPicturePath(lib);
  const bool have_picture = FileExists(picture);
  if (!have_picture && !lib.frontend().AskOkCancel(kSuiteWarningTitle, kPictureMissingText, false)) {
    lib.platform().Exit(1);
  }
  if (have_picture) splash.picture = picture;
  if (FileExists(SuitePicturePath(lib))) splash.suite_picture = SuitePicturePath(lib);

  lib.frontend().ShowSplash(splash);
  lib.SplashActive = true;

  // Without a picture there is nothing to check (and nothing is created).
  if (!have_picture || expected_check == 0) return;
  const auto check = FileCheckValue(picture);
  if (check && *check != expected_check &&
      !lib.frontend().AskOkCancel(kSuiteWarningTitle, kPictureModifiedText, true)) {
    lib.platform().Exit(1);
  }
}

void SplashEnd(Library& lib, std::optional<std::uint32_t> wait_milliseconds) {
  if (wait_milliseconds) lib.Delay(*wait_milliseconds);
  lib.SplashActive = false;
  lib.frontend().CloseSplash();
}

}  // namespace applib
