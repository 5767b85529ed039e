// Long computations shared with a second thread: the machine's other core takes
// part of the pieces, so that long products side by side finish in about half
// the time. Every piece is computed exactly as it would be alone.
#pragma once

// Runs work(context, 0) ... work(context, count - 1), each piece once, on the
// calling thread and (when the machine has a second core) one other thread;
// returns when all are done. The pieces must not depend on each other.
void ShareWork(int count, void (*work)(void* context, int piece), void* context);
