// SPDX-License-Identifier: MIT
// Atmospheric refraction, to be added to a body's geometric height above the horizon.
#pragma once

namespace astro {

// REFRAKCE: refraction at a given height for a given pressure and temperature.
//   height       geometric height above the horizon, radians
//   pressure     air pressure, millibars; a negative value selects 1013.25
//   temperature  air temperature, degrees Celsius; a value at which t + 273 is zero or
//                negative (so anything below -273.15, the usual way to ask) selects 10
//   returns      radians: 0 for a height of 0 or below; otherwise
//                (0.28 P / (t + 273)) cot(h + 7.31 / (h + 4.4)) arcminutes, h in degrees,
//                which turns slightly negative above 89.92 degrees
// Degrees and arcminutes are converted with the program's pi 3.1415926535.
double REFRAKCE(double height, double pressure, double temperature);

}  // namespace astro
