/* A library or a program that someone left beside the program under the
   name of a system one. Whenever it runs it leaves NAME.loaded beside itself
   (shcore.dll leaves shcore.loaded, winhlp32.exe winhlp32.loaded), so that a
   test can tell. */
#include <windows.h>

static void LeaveMarker(HMODULE self) {
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
  if (length < 4 || length >= MAX_PATH) return;
  lstrcpyW(marker + length - 4, L".loaded");
  const HANDLE file =
      CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
  return TRUE;
}

int WINAPI WinMain(HINSTANCE self, HINSTANCE previous, LPSTR arguments, int show) {
  (void)previous;
  (void)arguments;
  (void)show;
  LeaveMarker(self);
  return 0;
}
