#pragma once
// The provinces list, also the province picker of other forms (request 4: the chosen
// province is left in the WOJEWODZTWO record buffer).

extern "C" {
void WOJEWODZTWO_BRW();
}
