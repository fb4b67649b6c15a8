// Sets up the suite for one user, the way an installed suite looks, without
// ever overwriting what the user already has:
//   <config home>/brix.cfg      [Directories] Brix3 = the library directory
//                               (default <data home>/veltrane/)
//   <library>/brix.ini          [Moduls_Dirs] TORVK32 = the program directory
//                               (default <library>/torvk32/)
//                               [Moduls_EXEs] TORVK32 = torvk32
//   <program directory>/        torvk32.jpg, torvk32.gif (the splash
//                               pictures) and torvk32, a link to the program
// Values and files that exist are kept; only missing ones are added. A
// Detour entry for the program is honoured as its directory.
#pragma once

#include <vector>

#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

struct SetupPlan {
  Text config_home;  // where brix.cfg goes
  Text data_home;    // below which the default library directory goes
  Text program;      // the program file that the suite's link points at
  Text artwork;      // the folder with torvk32.jpg and torvk32.gif
};

// Adds what is missing. `log` gets one line for each thing made and for
// each problem; false when something needed could not be made.
bool SetUpSuite(const SetupPlan& plan, std::vector<Text>& log);

}  // namespace applib
