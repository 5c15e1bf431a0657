#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct VobListEntry {
    std::string path;  // full path
    std::string name;  // file name without folder
    uint64_t sizeKiB = 0;
    std::string displayLine;  // the line shown in the job dialog's file list
};

// "<name padded to 14>[<KiB, '_'-padded to 8> Kb]".
std::string vobDisplayLine(const std::string& name, uint64_t sizeKiB);

// Every "*.VOB" (and VobSub "*.idx") of a folder, the extension matched without regard to case,
// sorted by name without regard to case. Nothing is checked. Throws
// IoError when the folder cannot be listed.
std::vector<VobListEntry> listVobFolder(const std::string& folder);

// The title-set VOBs (VTS_nn_1.VOB ... VTS_nn_9.VOB) of a VIDEO_TS folder in
// order. titleSet 0 takes the title set with the most data. Empty when there
// is none.
std::vector<std::string> titleSetVobs(const std::string& folder, int titleSet = 0);
// The title sets that have an IFO (VTS_nn_0.IFO), in number order.
std::vector<int> titleSetsWithIfo(const std::string& folder);
// The IFO of the title set that titleSetVobs would take; without VOB files
// the IFO of the only title set that has one; empty if none.
std::string titleSetIfo(const std::string& folder, int titleSet = 0);

// Whether a job file is a VobSub index (".idx" in any case), and the .sub
// file beside it that holds its units.
bool isVobSubIndex(const std::string& path);
std::string vobSubDataFile(const std::string& idx);
// The IFO of the title set a VTS_nn_k.VOB belongs to, in its folder; empty
// when the name is no title set's or there is none.
std::string titleSetIfoOfVob(const std::string& vob);

// Size of a file in KiB (rounded down), 0 when it does not exist.
uint64_t fileSizeKiB(const std::string& path);
bool fileExists(const std::string& path);

}  // namespace orvane
