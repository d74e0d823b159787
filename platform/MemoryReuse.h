// The allocator told to keep freed memory for reuse within a short run.
#pragma once

// A long text is finished letter by letter and each letter's meshes and
// text are freed once written; by default large blocks go back to the
// system on every free and come back as fresh pages for the next letter,
// which costs more than the letter itself. Called once at the start of a
// program that builds and writes letters and then ends.
void KeepFreedMemoryForReuse();
