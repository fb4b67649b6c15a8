// The splash screen's logic: what it shows, the checks of its picture, and
// its life span. The window itself belongs to the frontend.
//
// The splash picture lies in the program's directory, named after the
// executable with the extension "jpg" (torvk32.jpg); the suite picture is
// the same path with "gif". A one-byte check value (the exclusive-or of all
// the picture's bytes, 0 counted as 1) tells whether the picture is the one
// shipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "applib/library.h"
#include "applib/platform.h"

namespace applib {

inline constexpr TextView kSuiteWarningTitle = u"Veltrane Suite warning";
inline constexpr TextView kPictureMissingText =
    u"Splash screen image not found! Reinstall Veltrane Suite please! You can still work with it by pressing OK "
    u"now.";
inline constexpr TextView kPictureModifiedText =
    u"Splash screen image was modified! Not good! Veltrane Suite will work, but you will always have to select OK "
    u"in this dialog until you have installed the right one again!";
// The credit line shown when the program gives none.
inline constexpr TextView kSuiteCredit = u"A Veltrane Suite production";

// The check value of some bytes: their exclusive-or, 1 instead of 0.
std::uint8_t CheckValue(std::string_view bytes, std::uint8_t start = 0);
// The check value of a file; nothing when it cannot be read.
std::optional<std::uint8_t> FileCheckValue(TextView path);

// "TORVEK32" -> "TORVEK" and "32"; a name without that ending is kept whole.
void SplitProductName(TextView long_name, Text& name, Text& suffix);

// pfad_main + the executable's name with "jpg", and the same with "gif".
Text SplashPicturePath(const Library& lib);
Text SuitePicturePath(const Library& lib);

// What the splash window shows; the pictures are filled in by SplashStart.
SplashScreen SplashTexts(const Library& lib, std::uint32_t accent, TextView credit);

// Finds the library and program directories again, checks the splash
// picture (warning with OK and Cancel when it is missing or changed; Cancel
// ends the program), and puts the splash window up. An expected check value
// of 0 skips the change check. The two flags have no effect.
void SplashStart(Library& lib, std::uint8_t expected_check, std::uint32_t accent, std::int16_t style_flag,
                 std::int16_t option_flag, TextView credit);
// Waits when asked to (0 only yields), then takes the splash window down.
void SplashEnd(Library& lib, std::optional<std::uint32_t> wait_milliseconds = std::nullopt);

}  // namespace applib
