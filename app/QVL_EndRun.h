#pragma once

class TQVL;

// Ends the query or play run of `core` when its screen goes: a running query
// stops (and stores its results as its options say), a pile that a failed
// start left is emptied, and the further units a run over several units
// opened are closed. The pile is empty and those units are closed afterwards
// also when stopping fails; that error is raised last.
void EndRun(TQVL& core);
