// Fuzz target for settings.dat. Any file, however damaged, must leave settings the game can use;
// a record the reader accepts must be exactly what the writer writes back; a refused one must
// leave the defaults; and whatever was loaded must survive the save at exit and the next launch.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Common/File.h"
#include "Common/MemoryStreamOut.h"
#include "FuzzCheck.h"
#include "FuzzScratchFolder.h"
#include "SettingsInvariants.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzScratchFolder::instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = FuzzScratchFolder::instance().write("settings.dat", data, size);

  // The record reader's own verdict. The object's path is empty, so destroying it saves nothing.
  Settings record("");
  bool accepted = false;
  long consumed = 0;
  {
    bool opened = false;
    MyTl::File file(path.c_str(), &opened);
    FUZZ_CHECK(opened, "the scratch file opens");
    accepted = record.loadState(file);
    consumed = file.tell();
  }
  checkSettingsInvariants(record);
  const long available = size < static_cast<size_t>(Settings::RECORD_SIZE) ? static_cast<long>(size) : Settings::RECORD_SIZE;
  FUZZ_CHECK(consumed >= 0 && consumed <= available, "the reader stays inside the record");
  if (accepted) {
    FUZZ_CHECK(consumed == Settings::RECORD_SIZE, "an accepted record is 36 bytes long");
    MyTl::MemoryStreamOut written;
    record.saveState(written);
    FUZZ_CHECK(written.tell() == Settings::RECORD_SIZE &&
                   std::memcmp(written.getBuffer(), data, Settings::RECORD_SIZE) == 0,
               "an accepted record is written back byte for byte");
  } else {
    const Settings defaults("");
    FUZZ_CHECK(sameSettings(record, defaults), "a refused record leaves the defaults");
  }

  // The launch path: the constructor reads the file, the destructor saves the result over it.
  {
    const Settings launched(path.c_str());
    FUZZ_CHECK(!launched.firstLaunch, "an existing file is no first launch");
    FUZZ_CHECK(sameSettings(launched, record), "the constructor loads what the reader reads");
  }
  const Settings relaunched(path.c_str());
  FUZZ_CHECK(sameSettings(relaunched, record), "the saved settings load back unchanged");
  return 0;
}
