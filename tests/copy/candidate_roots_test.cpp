// Where tessavine-copy looks for a PSP without Qt: the mount points of removable media read from
// a mount table, as the window's scan takes them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "copy/candidate_roots.h"

namespace tessavine {
namespace {

TEST(CandidateRoots, OnlyMediaBelowTheMediaFoldersEachOnceSorted) {
    // a mount table, the roots expected
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"/dev/sdb1 /media/me/PSP vfat rw 0 0\n/dev/sda1 / ext4 rw 0 0\n", {"/media/me/PSP"}},
        // The blank in a volume's name is written \040 by the kernel.
        {"/dev/sdc1 /run/media/me/PSP\\040Card vfat rw 0 0\n", {"/run/media/me/PSP Card"}},
        {"/dev/sdd1 /mnt/psp vfat rw 0 0\n/dev/sdb1 /media/b vfat rw 0 0\n"
         "/dev/sdb1 /media/b vfat rw 0 0\n",
         {"/media/b", "/mnt/psp"}},
        // The media folders themselves, and names that only begin like them, are no medium.
        {"tmpfs /media tmpfs rw 0 0\ntmpfs /mnt/ tmpfs rw 0 0\n/dev/x /mntx/psp vfat rw 0 0\n"
         "/dev/y /home/media/psp vfat rw 0 0\n",
         {}},
        {"", {}},
        {"garbage\n\n  \n", {}},
    };
    for (const auto& [table, expected] : cases) {
        SCOPED_TRACE(table);
        EXPECT_EQ(removableMountPoints(table), expected);
    }
}

}  // namespace
}  // namespace tessavine
