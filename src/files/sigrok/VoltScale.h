// Millivolts, the program's unit, against volts, the unit libsigrok's
// formats hold. A float of volts cannot carry every float of millivolts: in
// the top 2.3 % of each binary octave (significand from 1.953125 = 1000/512
// up) there are half as many floats of volts as of millivolts, so about one
// sample in 43 of arbitrary values comes back one unit in the last place
// off. Below that every value comes back bit for bit.
#pragma once

namespace korvel {

float VoltsOfMillivolts(float mv);
float MillivoltsOfVolts(float volts);

// A sample of scale times the unit it is in, in millivolts: scale is 1000
// for volts, 1 for millivolts.
float MillivoltsOf(float value, double scale);

}  // namespace korvel
