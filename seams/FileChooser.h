// The file-chooser seam: the common open-file dialog, asked through one replaceable chooser.
//
// On Windows the default chooser shows the open-file dialog (GetOpenFileName); natively there is
// no dialog and every request is cancelled. Tests install a chooser that records the requests
// and answers them, so nothing waits for a user.
#pragma once

#include <string>
#include <vector>

namespace seams {

struct FileFilter {
  std::string description;  // "Sound Files (*.WAV)"
  std::string pattern;      // "*.WAV"
};

struct OpenFileRequest {
  void* owner = nullptr;  // the owner window (an HWND), or nullptr
  std::string title;
  std::vector<FileFilter> filters;
  int filterIndex = 1;           // the filter selected first, from 1
  std::string defaultExtension;  // appended to a typed name without one ("wav", no dot)
  std::string initialFolder;
  std::string initialFile;
  unsigned flags = 0;             // the dialog's OFN_ flags, passed through
  unsigned fileBufferSize = 260;  // characters for the chosen path, with its terminating zero
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // The chosen file's full path into `path`; false when the user cancelled or the dialog failed.
  virtual bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) = 0;
};

// Asks the chooser in force.
bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path);

// Installs a chooser for the whole process (nullptr restores the default); returns the previous.
FileChooser* InstallFileChooser(FileChooser* chooser);

// Records every request and answers each with the next queued path; an empty answer, or none
// left, is a cancel (tests).
class ScriptedFileChooser : public FileChooser {
 public:
  ScriptedFileChooser() : previous_(InstallFileChooser(this)) {}
  ~ScriptedFileChooser() override { InstallFileChooser(previous_); }
  ScriptedFileChooser(const ScriptedFileChooser&) = delete;
  ScriptedFileChooser& operator=(const ScriptedFileChooser&) = delete;

  bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override;

  std::vector<std::string> answers;  // in the order they are given
  std::vector<OpenFileRequest> requests;

 private:
  FileChooser* previous_;
};

}  // namespace seams
