#pragma once

//! The internet users of one contractor ("Lista użytkowników internetowych"): their
//! log-ins to the online store with a password, a name and an active flag. Adds, changes
//! and deletes them through SQL; the window does not open when the contractor can't be
//! read. Runs on the calling thread until the window closes.
extern "C" void HASLO_INTER_0001_002_BRW(double contractorId);
