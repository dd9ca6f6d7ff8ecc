#pragma once
// The countries list, also the country picker of other forms (request 4: the chosen
// country is left in the KRAJE record buffer).

extern "C" {
void KRAJ_BRW();
}
