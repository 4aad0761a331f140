// CFile, CStdioFile and CMemFile.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "framework/File.h"
#include "tests/native/framework/TempPath.h"

namespace {

void WriteBytes(const TempPath& path, const std::string& content) {
  CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
  file.Write(content.data(), static_cast<UINT>(content.size()));
  file.Close();
}

std::string ReadAll(const TempPath& path) {
  CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary);
  std::string out(static_cast<size_t>(file.GetLength()), '\0');
  if (!out.empty()) {
    EXPECT_EQ(out.size(), file.Read(&out[0], static_cast<UINT>(out.size())));
  }
  return out;
}

}  // namespace

TEST(File, WriteReadSeekAndShortReadAtEnd) {
  TempPath path;
  WriteBytes(path, "0123456789");
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(10u, file.GetLength());
  EXPECT_EQ(0u, file.GetPosition());
  char buf[16] = {};
  EXPECT_EQ(4u, file.Read(buf, 4));
  EXPECT_EQ(std::string("0123"), std::string(buf, 4));
  EXPECT_EQ(4u, file.GetPosition());
  EXPECT_EQ(7u, file.Seek(3, CFile::current));
  EXPECT_EQ(3u, file.Read(buf, 16));  // short read at the end is a count, not an error
  EXPECT_EQ(std::string("789"), std::string(buf, 3));
  EXPECT_EQ(0u, file.Read(buf, 16));
  EXPECT_EQ(8u, file.Seek(-2, CFile::end));
  EXPECT_EQ(2u, file.Read(buf, 16));
  EXPECT_EQ(10u, file.SeekToEnd());
  file.SeekToBegin();
  EXPECT_EQ(0u, file.GetPosition());
  EXPECT_EQ(path.str(), std::string(file.GetFilePath()));
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  file.Close();  // harmless
}

TEST(File, SeekBeforeStartIsBadSeek) {
  TempPath path;
  WriteBytes(path, "abc");
  CFile file(path.c_str(), CFile::modeRead);
  for (UINT from : {static_cast<UINT>(CFile::begin), static_cast<UINT>(CFile::current),
                    static_cast<UINT>(CFile::end)}) {
    try {
      file.Seek(-4, from);
      FAIL() << "seek before the start from " << from;
    } catch (CFileException& e) {
      EXPECT_EQ(CFileException::badSeek, e.m_cause);
    }
  }
  EXPECT_EQ(0u, file.GetPosition());
  EXPECT_EQ(100u, file.Seek(100, CFile::begin));  // past the end is allowed
}

TEST(File, OpenFailuresAreReported) {
  TempPath path;
  CFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead, &error));
  EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
  EXPECT_STREQ(path.c_str(), error.m_strFileName);
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeWrite, &error));  // no modeCreate: must exist
  EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
  EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
  EXPECT_EQ(CFileException::badPath, error.m_cause);
  // A directory is not a file.
  std::string dir = std::filesystem::temp_directory_path().string();
  EXPECT_FALSE(file.Open(dir.c_str(), CFile::modeRead, &error));
  EXPECT_NE(CFileException::none, error.m_cause);
  try {
    CFile thrown(path.c_str(), CFile::modeRead);
    FAIL() << "the constructor throws";
  } catch (CFileException& e) {
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
  }
}

TEST(File, WriteToReadOnlyFileThrows) {
  TempPath path;
  WriteBytes(path, "abc");
  CFile file(path.c_str(), CFile::modeRead);
  EXPECT_THROW(file.Write("x", 1), CFileException);
  CFile closed;
  EXPECT_THROW(closed.Write("x", 1), CFileException);
  char c;
  EXPECT_THROW(closed.Read(&c, 1), CFileException);
  EXPECT_THROW(closed.GetLength(), CFileException);
}

TEST(File, CreateModes) {
  TempPath path;
  WriteBytes(path, "keep me");
  {
    // modeCreate | modeNoTruncate keeps an existing file.
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(7u, file.GetLength());
    file.SeekToEnd();
    file.Write("!", 1);
  }
  EXPECT_EQ("keep me!", ReadAll(path));
  {
    // modeReadWrite without modeCreate updates in place.
    CFile file(path.c_str(), CFile::modeReadWrite);
    char c;
    EXPECT_EQ(1u, file.Read(&c, 1));
    EXPECT_EQ('k', c);
    file.Write("E", 1);  // a write right after a read
    EXPECT_EQ(1u, file.Read(&c, 1));
    EXPECT_EQ('e', c);
  }
  EXPECT_EQ("kEep me!", ReadAll(path));
  {
    // modeCreate alone truncates.
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    EXPECT_EQ(0u, file.GetLength());
  }
  EXPECT_EQ("", ReadAll(path));
  TempPath fresh;
  {
    CFile file(fresh.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    file.Write("new", 3);
    EXPECT_EQ(3u, file.GetLength());  // the length sees written data at once
  }
  EXPECT_EQ("new", ReadAll(fresh));
}

TEST(File, LargeBinaryContentRoundTrip) {
  TempPath path;
  std::string data(300000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 31) ^ (i >> 8));
  data[5] = '\n';
  data[6] = '\r';
  data[7] = 0x1A;  // Ctrl-Z would end a text-mode read on Windows
  WriteBytes(path, data);
  EXPECT_EQ(data, ReadAll(path));
}

TEST(File, GetStatus) {
  TempPath path;
  CFileStatus status;
  EXPECT_FALSE(CFile::GetStatus(path.c_str(), status));
  EXPECT_FALSE(CFile::GetStatus("", status));
  EXPECT_FALSE(CFile::GetStatus(nullptr, status));
  std::time_t before = std::time(nullptr);
  WriteBytes(path, "12345");
  ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
  EXPECT_EQ(5u, status.m_size);
  EXPECT_EQ(0, status.m_attribute & CFile::directory);
  EXPECT_STREQ(path.c_str(), status.m_szFullName);
  // File systems round times (FAT: 2 s); allow a little either way.
  EXPECT_GE(status.m_mtime.GetTime(), static_cast<int64_t>(before) - 5);
  EXPECT_LE(status.m_mtime.GetTime(), static_cast<int64_t>(std::time(nullptr)) + 5);
  std::string dir = std::filesystem::temp_directory_path().string();
  ASSERT_TRUE(CFile::GetStatus(dir.c_str(), status));
  EXPECT_NE(0, status.m_attribute & CFile::directory);
  // With and without a separator at the end (Windows' stat refuses one on its own).
  std::string withSlash = (std::filesystem::temp_directory_path() / "").string();
  std::string withoutSlash = withSlash.substr(0, withSlash.size() - 1);
  EXPECT_TRUE(CFile::GetStatus(withSlash.c_str(), status)) << withSlash;
  EXPECT_TRUE(CFile::GetStatus(withoutSlash.c_str(), status)) << withoutSlash;
}

#ifdef _WIN32
TEST(File, ShareModesAreHonouredOnWindows) {
  TempPath path;
  WriteBytes(path, "abc");
  CFile first(path.c_str(), CFile::modeRead | CFile::shareExclusive);
  CFile second;
  CFileException error;
  EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone, &error));
  first.Close();
  EXPECT_TRUE(second.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite, &error));
  EXPECT_NE(INVALID_HANDLE_VALUE, second.GetOSHandle());
}
#endif

TEST(StdioFile, LinesRoundTrip) {
  TempPath path(".txt");
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.WriteString("first line\n");
    file.WriteString("");
    file.WriteString(std::string(600, 'L').c_str());
    file.WriteString("\n\nlast without newline");
    std::fprintf(file.m_pStream, " %d", 42);  // formatted output through the stream
    file.Close();
  }
  CStdioFile file(path.c_str(), CFile::modeRead);
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(CString("first line"), line);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(CString('L', 600), line);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(CString("last without newline 42"), line);
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_TRUE(line.IsEmpty());
  char buf[8];
  EXPECT_EQ(nullptr, file.ReadString(buf, sizeof(buf)));
}

TEST(StdioFile, CharBufferReadKeepsNewlineAndLimits) {
  TempPath path(".txt");
  {
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.WriteString("abcdefghij\nxy\n");
  }
  CStdioFile file(path.c_str(), CFile::modeRead);
  char buf[5];
  ASSERT_NE(nullptr, file.ReadString(buf, sizeof(buf)));
  EXPECT_STREQ("abcd", buf);
  ASSERT_NE(nullptr, file.ReadString(buf, sizeof(buf)));
  EXPECT_STREQ("efgh", buf);
  ASSERT_NE(nullptr, file.ReadString(buf, sizeof(buf)));
  EXPECT_STREQ("ij\n", buf);
  int a = 0;
  EXPECT_EQ(0, std::fscanf(file.m_pStream, "%d", &a));  // "xy" is no number
}

TEST(StdioFile, AttachedStreamIsNotClosedByTheWrapper) {
  TempPath path(".txt");
  FILE* fp = std::fopen(path.c_str(), "w+");
  ASSERT_NE(nullptr, fp);
  {
    CStdioFile file(fp);
    file.WriteString("attached\n");
  }
  std::rewind(fp);  // still open
  char buf[32] = {};
  ASSERT_NE(nullptr, std::fgets(buf, sizeof(buf), fp));
  EXPECT_STREQ("attached\n", buf);
  std::fclose(fp);
}

TEST(MemFile, GrowsWhenWritten) {
  CMemFile file;
  EXPECT_EQ(0u, file.GetLength());
  EXPECT_EQ(nullptr, file.GetData());
  file.Write("hello", 5);
  file.Seek(10, CFile::begin);
  file.Write("!", 1);  // past the end: the gap is zeros
  ASSERT_EQ(11u, file.GetLength());
  EXPECT_EQ(0, std::memcmp(file.GetData(), "hello\0\0\0\0\0!", 11));
  file.SeekToBegin();
  char buf[20];
  EXPECT_EQ(11u, file.Read(buf, sizeof(buf)));
  EXPECT_EQ(0u, file.Read(buf, sizeof(buf)));
  EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
  file.Close();
  EXPECT_EQ(0u, file.GetLength());
}

TEST(MemFile, ReadOnlyViewOfCallerBytes) {
  const BYTE data[] = {1, 2, 3, 4};
  CMemFile file(data, sizeof(data));
  EXPECT_TRUE(file.IsReadOnly());
  EXPECT_EQ(4u, file.GetLength());
  EXPECT_EQ(data, file.GetData());
  BYTE buf[8];
  EXPECT_EQ(2u, file.Seek(-2, CFile::end));
  EXPECT_EQ(2u, file.Read(buf, sizeof(buf)));
  EXPECT_EQ(3, buf[0]);
  try {
    file.Write(buf, 1);
    FAIL() << "a read-only view";
  } catch (CFileException& e) {
    EXPECT_EQ(CFileException::accessDenied, e.m_cause);
  }
  file.Seek(100, CFile::begin);
  EXPECT_EQ(0u, file.Read(buf, 1));
  CMemFile empty(nullptr, 0);
  EXPECT_EQ(0u, empty.GetLength());
  EXPECT_EQ(0u, empty.Read(buf, 1));
}
