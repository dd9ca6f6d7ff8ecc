#pragma once

//! The statuses an order can go through ("Lista statusów zamówień"): one-letter codes with
//! descriptions, flags and the SMS template sent when an order enters the status. Changes
//! reach order handling when the list closes. With GLOBALREQUEST 4 a picker: the chosen
//! status stays in the VSSD: buffer.
extern "C" void STATUSYZAMOWIEN_BRW();
