#include "seams/FileChooser.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>

#include <commdlg.h>
#endif

namespace seams {
namespace {

class DefaultChooser : public FileChooser {
 public:
  bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override {
#ifdef _WIN32
    // The filter list: each description and pattern zero-terminated, an empty text at the end.
    std::string filter;
    for (const FileFilter& f : request.filters) {
      filter += f.description;
      filter += '\0';
      filter += f.pattern;
      filter += '\0';
    }
    filter += '\0';
    std::vector<char> file(request.fileBufferSize ? request.fileBufferSize : MAX_PATH, '\0');
    request.initialFile.copy(file.data(), file.size() - 1);
    char title[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = static_cast<HWND>(request.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ofn.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
    ofn.lpstrTitle = request.title.c_str();
    ofn.Flags = request.flags;
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    if (!::GetOpenFileNameA(&ofn)) return false;
    path = file.data();
    return true;
#else
    (void)request;
    (void)path;
    return false;
#endif
  }
};

DefaultChooser defaultChooser;
std::atomic<FileChooser*> installed{nullptr};

}  // namespace

bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) {
  FileChooser* chooser = installed.load();
  return (chooser ? chooser : &defaultChooser)->ChooseFileToOpen(request, path);
}

FileChooser* InstallFileChooser(FileChooser* chooser) { return installed.exchange(chooser); }

bool ScriptedFileChooser::ChooseFileToOpen(const OpenFileRequest& request, std::string& path) {
  requests.push_back(request);
  const size_t turn = requests.size() - 1;
  if (turn >= answers.size() || answers[turn].empty()) return false;
  path = answers[turn];
  return true;
}

}  // namespace seams
