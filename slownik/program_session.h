#pragma once
// The program's session in the database: started when the host initialises the module,
// ended when it kills it. Edit locks taken by the module's windows belong to it.

namespace slownik {

//! Registers the program's session for the user in GLO:ID_UZYTKOWNIKA on the process's
//! database and makes it every thread's session. Without a database address, or when
//! the database refuses, the program runs without one (locks then hold until released)
//! and the reason goes to the log. A running session is kept. Any thread.
void startProgramSession();
//! Clean end: every lock of the program is released at once and its row removed.
void endProgramSession();
//! The module is unloaded without a kill: the session only lets go (its connection and
//! lock file close), since the database routines may already be gone with the process.
void abandonProgramSession();
//! The program's session id, 0 when none.
long long programSessionId();

}  // namespace slownik
