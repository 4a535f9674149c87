// What a --window run listens to while its result screen stays up: Enter
// on the terminal it was started from.
#pragma once

// Waits up to `waitMs` for input on `fd`; true when a whole line (Enter)
// or the end of the input came.  What came is read and dropped, so that it
// does not reach the shell after the run.  The wait also paces the frames
// of the result screen, which nobody measures.
bool enterOnInput(int fd, int waitMs);
