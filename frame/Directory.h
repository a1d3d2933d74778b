// Recursive folder creation for the installers and the start-up.
#pragma once

// Creates the folder and every missing parent. 0 when the path exists afterwards (also
// when it existed before, as a folder or a file), -1 on failure. Paths longer than 259
// characters, or whose parents cannot be made, give -1.
int MakeDirectory(const wchar_t* path);
