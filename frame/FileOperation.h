// Shell copy and delete of files and whole folders.
#pragma once
#include <windows.h>
#include <shellapi.h>

class CFileOperation {
public:
    CFileOperation();
    virtual ~CFileOperation();

    // Copies from (a file, a folder, or a folder followed by "\*") to to, creating missing
    // target folders without asking. 1 on success, else 0 (also when the user skipped or
    // cancelled a part in the shell's error box). mode is not used.
    int Copy(const wchar_t* from, const wchar_t* to, int mode = 0);
    // Deletes without asking and without the recycle bin. 1 on success, else 0.
    int Delete(const wchar_t* from);

private:
    int Run();

    SHFILEOPSTRUCTW m_op;
};
