#pragma once

// Hands the heap's free pages back to the system. After an operation on a
// long list the C library keeps the pages its temporaries used; the next
// operation's temporaries would then come on top of them.
void ReturnFreedMemory();
