#pragma once

//! The history of status changes of one order ("Historia zmian statusów zamówienia"):
//! who changed the status, when, from what to what, with the comment; by user, by date
//! and time or by employee, limited to one user's changes on demand. Rows may be deleted
//! one by one or all those shown, and the list exported to a spreadsheet. `orderId` is
//! the order's id as text (anything else than a number shows nothing).
extern "C" void HISTORIASTATUSOWZAMOWIEN_BRW(const char* orderId);
