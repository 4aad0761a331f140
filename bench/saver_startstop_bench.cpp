// How fast the saver module starts and stops, measured from outside under Wine: it launches
// "screensaver.scr /s" on the demo set, watches its window and the trace file's marks, and at a
// chosen moment posts a key to the saver window, then times the window's hiding and the
// process's end. It also samples the module's processor time while a picture is shown.
//
//   saver_startstop_bench <screensaver.scr> <photo folder or -> [runs] [moment ...]
//
// Moments: start (launch to the first picture, ended after it), transition (a key during the
// first, off-screen transition), routine (during the slide show), caption (during a caption),
// ownload (during a 4000 x 3000 own picture's load), music (during the first transition with a
// looping sound playing), peel (during the first transition as a tile peel, the only class on),
// idle (processor time over 10 s of a shown picture, the clock off).
// Figures are milliseconds from the launch or from the key; medians and worst cases per moment.
// Not part of any test: it reports, it never fails a build.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/ScreenSaver.h"
#include "seams/Registry.h"
#include "settings/IniSettings.h"
#include "tests/support/WaveWriter.h"
#include "tools/demo/DemoImageSet.h"
#include "tools/setup/SettingsInstaller.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\KLV\\SCREENSAVER\\TRVSS12";
constexpr DWORD kPollMs = 2;
constexpr DWORD kGiveUpMs = 30000;

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A name "SUBKEY\\VALUE" goes to that subkey of the saver's key.
void Set(const std::string& name, const std::string& value) {
  const size_t slash = name.find('\\');
  const std::string path =
      slash == std::string::npos ? std::string(kKey) : kKey + ("\\" + name.substr(0, slash));
  const std::string valueName = slash == std::string::npos ? name : name.substr(slash + 1);
  seams::RegistryKey key;
  if (key.Open(path.c_str(), seams::RegAccess::SetValue) == 0)
    key.SetString(valueName.c_str(), value.c_str());
}

// The tile peel's class setting, on or off, with its install-default sliders.
std::pair<std::string, std::string> TilePeelClass(bool on) {
  return {std::string(kTransFXSubkeyName) + "\\TRANS3DFXCLASS_SQPEEL",
          on ? "1,30,30,30" : "0,30,30,30"};
}

// Only the tile peel among the transition classes.
std::vector<std::pair<std::string, std::string>> OnlyTilePeel() {
  std::vector<std::pair<std::string, std::string>> settings;
  for (const TransFXValueDef& def : TransFXValueDefs) {
    if (def.classId != 100)
      settings.push_back({std::string(kTransFXSubkeyName) + "\\" + def.name, "0,50,50,50"});
  }
  settings.push_back(TilePeelClass(true));
  return settings;
}

// A 24-bit BMP of w x h, a smooth pattern (what a photograph costs to load and reduce).
bool WriteLargeBmp(const std::string& path, int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * h;
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(static_cast<size_t>(stride));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<char>(x * 255 / w);
      row[3 * x + 1] = static_cast<char>(y * 255 / h);
      row[3 * x + 2] = static_cast<char>((x + y) & 0xFF);
    }
    out.write(row.data(), stride);
  }
  return static_cast<bool>(out);
}

struct Moment {
  const char* name;
  std::vector<std::pair<std::string, std::string>> settings;
  const char* mark;  // the trace line that opens the moment ("" for none)
  DWORD delayMs;     // the key comes this long after the mark
};

// One launch: the marks' times from the launch, the key's effect.
struct Run {
  std::map<std::string, double> marks;  // ms from the launch
  double keyToHidden = -1, keyToExit = -1;
  DWORD exitCode = 0;
  bool killed = false;
  double cpuPercent = -1;
};

const char* const kStartMarks[] = {
    "GetIniSettings - end",
    "ScreenSaverProc - Ending Message=1,",
    "ScreenSaverProc - Starting Message=14,",
    "MAIN SCREEN SAVER THREAD NOW RUNNING",
    "FXParameters selected",
    "Selected image =",
    "ManageOffScreenTransition - start",
    "ManageOffScreenTransition - end",
    "ManageOnScreenTransition - start",
    "ManageOnScreenTransition - end",
};

// Marks of the way out, timed from the key.
const char* const kStopMarks[] = {
    "ScreenSaverProc - Starting Message=2,",
    "Music Handler - ExitThread",
    "WM_DESTROY - end: Deleted DIBs",
};

class Bench {
 public:
  Bench(std::string saver, std::string data) : saver_(std::move(saver)), data_(std::move(data)) {}

  Run Launch(const Moment& moment, bool idleSample) {
    InstallSettings(data_, true);
    Set("TRACEON", "1");
    Set("CLOCKON", "0");
    Set("TEXTFX_TEXTON", "0");
    Set("SSFN", "7");
    Set("TIME", "1");
    Set("SOUND_ON", "0");
    // A tile peel at 1920 x 1080 takes its launch waits' sum, over a minute each way, so the
    // moments after the first change would not come within the give-up time: only "peel" has it.
    const auto peel = TilePeelClass(false);
    Set(peel.first, peel.second);
    for (const auto& [name, value] : moment.settings) Set(name, value);
    const std::string tracePath(TraceFilePath(data_.c_str(), kTraceFileName));
    DeleteFileA(tracePath.c_str());

    Run run;
    std::string command = "\"" + saver_ + "\" /s";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double t0 = NowMs();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      std::fprintf(stderr, "cannot start %s\n", saver_.c_str());
      return run;
    }
    HWND window = nullptr;
    double keyAt = -1;
    bool shown = false;
    for (;;) {
      const double now = NowMs();
      if (now - t0 > kGiveUpMs) break;
      if (!window) window = FindWindowA(SAVER_WINDOW_CLASS, nullptr);
      if (window && !shown && IsWindowVisible(window)) {
        shown = true;
        run.marks["window shown"] = now - t0;
      }
      const std::string trace = ReadFile(tracePath);
      for (const char* mark : kStartMarks) {
        if (!run.marks.count(mark) && trace.find(mark) != std::string::npos)
          run.marks[mark] = now - t0;
      }
      const bool open = moment.mark[0] == '\0' || trace.find(moment.mark) != std::string::npos;
      if (open && !run.marks.count("moment")) run.marks["moment"] = now - t0;
      if (open && window && now - t0 >= run.marks["moment"] + moment.delayMs) {
        if (idleSample) run.cpuPercent = ProcessorPercent(process.hProcess);
        keyAt = NowMs();
        PostMessageA(window, WM_KEYDOWN, VK_SPACE, 1);
        break;
      }
      Sleep(kPollMs);
    }
    if (keyAt >= 0) {
      while (IsWindow(window) && IsWindowVisible(window) && NowMs() - keyAt < kGiveUpMs) Sleep(1);
      run.keyToHidden = NowMs() - keyAt;
      // The stop's own marks, from the key: where the time to the process's end goes.
      while (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_TIMEOUT &&
             NowMs() - keyAt < kGiveUpMs) {
        const std::string trace = ReadFile(tracePath);
        for (const char* mark : kStopMarks) {
          if (!run.marks.count(mark) && trace.find(mark) != std::string::npos)
            run.marks[mark] = NowMs() - keyAt;
        }
      }
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        run.keyToExit = NowMs() - keyAt;
      }
    }
    if (keyAt < 0) {  // the moment never came: say where the saver stood
      const std::string trace = ReadFile(tracePath);
      std::printf("  the moment never came; window %s; the trace ends:\n%s\n",
                  !window ? "never made"
                  : shown ? "shown"
                          : "not shown",
                  trace.substr(trace.size() > 2000 ? trace.size() - 2000 : 0).c_str());
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.killed = ReadFile(tracePath).find("killed") != std::string::npos;
    return run;
  }

 private:
  // The module's share of one core over 10 s.
  static double ProcessorPercent(HANDLE process) {
    auto used = [process] {
      FILETIME created, ended, kernel, user;
      GetProcessTimes(process, &created, &ended, &kernel, &user);
      auto value = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
      };
      return static_cast<double>(value(kernel) + value(user)) / 10000.0;  // ms
    };
    const double cpu0 = used(), t0 = NowMs();
    Sleep(10000);
    return 100.0 * (used() - cpu0) / (NowMs() - t0);
  }

  std::string saver_, data_;
};

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
double Worst(const std::vector<double>& v) {
  return v.empty() ? -1 : *std::max_element(v.begin(), v.end());
}

std::string WinPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <screensaver.scr> <photo folder or -> [runs] [moment ...]\n",
                 argv[0]);
    return 2;
  }
  const std::string saver = argv[1];
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string parent = std::string(temp) + "startstop-bench";
  CreateDirectoryA(parent.c_str(), nullptr);
  demoset::Options options;
  if (std::string(argv[2]) != "-") options.photoFolder = WinPath(argv[2]);
  if (GetFileAttributesA((parent + "\\demoset\\imfull.dat").c_str()) == INVALID_FILE_ATTRIBUTES) {
    const std::string error = demoset::BuildDemoImageSet(parent, options);
    if (!error.empty()) {
      std::fprintf(stderr, "demo set: %s\n", error.c_str());
      return 1;
    }
  }
  const std::string data = parent + "\\demoset";
  const std::string big = parent + "\\bigown";
  CreateDirectoryA(big.c_str(), nullptr);
  if (GetFileAttributesA((big + "\\big.bmp").c_str()) == INVALID_FILE_ATTRIBUTES)
    WriteLargeBmp(big + "\\big.bmp", 4000, 3000);
  const std::string wave = parent + "\\loop.wav";
  testsupport::WriteBytes(wave, testsupport::ToneWave(30000));

  const std::vector<Moment> all = {
      {"start", {}, "ManageOnScreenTransition - end", 0},
      {"transition", {}, "ManageOffScreenTransition - start", 150},
      {"routine", {}, "Slide Show - start", 500},
      {"caption",
       {{"TEXTFX_TEXTON", "1"}, {"TEXTFX_TRANSSELECTION", "1"}},
       "RunImageTextFXRoutine - start",
       700},
      {"ownload",
       {{"OWNIMAGES_ON", "1"}, {"OWNIMAGES_DIR", big}},
       "GetFullScreenOwnImageDIB - Start",
       300},
      {"music",
       {{"SOUND_ON", "1"},
        {"SOUND_PLAYOPTION", "2"},
        {"SOUND_LOOPFILE", "0"},
        {"SOUND_SOUND0", wave}},
       "ManageOffScreenTransition - start",
       150},
      {"peel", OnlyTilePeel(), "Transition3DFX - start", 1500},
      {"idle", {}, "Slide Show - start", 1500},
  };
  std::vector<std::string> chosen;
  for (int i = 4; i < argc; ++i) chosen.push_back(argv[i]);
  Bench bench(saver, data);
  for (const Moment& moment : all) {
    if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), moment.name) == chosen.end())
      continue;
    const bool idle = std::string(moment.name) == "idle";
    std::map<std::string, std::vector<double>> marks;
    std::vector<double> hidden, exits, cpu;
    int killed = 0, nonZero = 0, missed = 0;
    for (int r = 0; r < runs; ++r) {
      const Run run = bench.Launch(moment, idle);
      for (const auto& [mark, ms] : run.marks) marks[mark].push_back(ms);
      if (run.keyToExit < 0)
        ++missed;
      else
        exits.push_back(run.keyToExit);
      if (run.keyToHidden >= 0) hidden.push_back(run.keyToHidden);
      if (run.cpuPercent >= 0) cpu.push_back(run.cpuPercent);
      killed += run.killed;
      nonZero += run.exitCode != 0;
      const auto at = run.marks.find("moment");
      std::printf(
          "  %s run %d: moment at %.0f ms, key->hidden %.0f ms, key->exit %.0f ms, "
          "exit code %lu%s\n",
          moment.name, r, at == run.marks.end() ? -1.0 : at->second, run.keyToHidden, run.keyToExit,
          static_cast<unsigned long>(run.exitCode), run.killed ? ", killed" : "");
      std::fflush(stdout);
    }
    std::printf("%s (%d runs):\n", moment.name, runs);
    if (std::string(moment.name) == "start") {
      std::vector<std::pair<double, std::string>> order;
      for (const auto& [mark, v] : marks) order.push_back({Median(v), mark});
      std::sort(order.begin(), order.end());
      for (const auto& [median, mark] : order)
        std::printf("  %-45s median %7.0f ms  worst %7.0f ms\n", mark.c_str(), median,
                    Worst(marks[mark]));
    }
    for (const char* mark : kStopMarks) {
      if (marks.count(mark))
        std::printf("  key -> %-40s median %5.0f ms  worst %5.0f ms\n", mark, Median(marks[mark]),
                    Worst(marks[mark]));
    }
    std::printf("  key -> window hidden: median %.0f ms, worst %.0f ms\n", Median(hidden),
                Worst(hidden));
    std::printf(
        "  key -> process exit:  median %.0f ms, worst %.0f ms; %d not ended, %d killed, "
        "%d non-zero exit\n",
        Median(exits), Worst(exits), missed, killed, nonZero);
    if (!cpu.empty())
      std::printf("  processor while shown: median %.2f%% of a core\n", Median(cpu));
    std::fflush(stdout);
  }
  return 0;
}
