// Conversions between the units a program step's value may carry.
#ifndef HANDHELD_ENGINE_ACQUISITION_UNIT_CONVERSIONS_H
#define HANDHELD_ENGINE_ACQUISITION_UNIT_CONVERSIONS_H

// Unit codes, as in the unit table of program steps. Code 0 is no unit.
enum unitCode {
  kUnitCD = 1,
  kUnitCDS = 2,
  kUnitMCD = 3,
  kUnitMCDS = 4,
  kUnitSF = 5,
  kUnitLSF = 6,
  kUnitSEC = 7,
  kUnitMSEC = 8,
  kUnitMIN = 9,
  kUnitOPD = 10,
  kUnitDIV = 11,
  kUnitHZ = 12,
};

// Converts value from one unit to another into out and returns 1; returns 0
// and leaves out untouched when the pair does not convert, a code lies
// outside 1 to 12, or a logarithm would be taken of a value at or below 0.
int convert_unit(int from, int to, double value, double& out);

#endif
