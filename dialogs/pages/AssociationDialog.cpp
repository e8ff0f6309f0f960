#include "RecordLists.h"
namespace records {
INT_PTR CALLBACK UserPaperAssocDlgProc(HWND d, UINT m, WPARAM, LPARAM) { if (m == WM_INITDIALOG) EndDialog(d, 2); return m == WM_INITDIALOG; }
}
