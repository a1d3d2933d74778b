// Shell copy and delete of files and folders without confirmations.
#include "frame/FileOperation.h"

#include <string>

namespace {

// The shell wants lists that end in a second NUL; build them from one path of any length.
std::wstring DoubleNul(const wchar_t* path)
{
    std::wstring list(path ? path : L"");
    list.push_back(L'\0');
    return list;  // c_str() adds the second NUL
}

}  // namespace

CFileOperation::CFileOperation() : m_op() {}

CFileOperation::~CFileOperation() = default;

// A Skip or Cancel in the shell's own error box leaves the operation partly done, yet the shell
// reports success: that counts as a failure too.
int CFileOperation::Run()
{
    m_op.fAnyOperationsAborted = FALSE;
    return SHFileOperationW(&m_op) == 0 && !m_op.fAnyOperationsAborted ? 1 : 0;
}

int CFileOperation::Copy(const wchar_t* from, const wchar_t* to, int /*mode*/)
{
    if (!from || !*from || !to || !*to)
        return 0;
    std::wstring source = DoubleNul(from), target = DoubleNul(to);
    m_op.wFunc = FO_COPY;
    m_op.fFlags = 0x214;  // FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR
    m_op.pFrom = source.c_str();
    m_op.pTo = target.c_str();
    int ok = Run();
    m_op.pFrom = m_op.pTo = nullptr;
    return ok;
}

int CFileOperation::Delete(const wchar_t* from)
{
    if (!from || !*from)
        return 0;
    std::wstring source = DoubleNul(from);
    m_op.wFunc = FO_DELETE;
    m_op.fFlags = 0x10;  // FOF_NOCONFIRMATION
    m_op.pFrom = source.c_str();
    m_op.pTo = nullptr;
    int ok = Run();
    m_op.pFrom = nullptr;
    return ok;
}
