// Reading and replacing files where the operating system stands in the way:
// the reason given is the system's own, and a file too large is refused unread.

#include "BytesRead.h"
#include "Files.h"
#include "PermissionsEnforced.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TEST(FileReplacement, AnOutputThatCannotBeOpenedGivesTheSystemsReason) {
    const TempFolder folder;
    const std::string socketPath = folder.file("socket");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    std::string reason;
    EXPECT_FALSE(replaceFile(socketPath, "data", reason));
    EXPECT_EQ(reason, std::strerror(ENXIO));
    ::close(listening);

    const std::string fifo = folder.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0), 0);
    const PermissionsEnforced permissions;
    if (!permissions.holds())
        GTEST_SKIP() << "root could not give up its permission to write anything";
    EXPECT_FALSE(replaceFile(fifo, "data", reason));
    EXPECT_EQ(reason, std::strerror(EACCES));
}

TEST(FileReplacement, AFileKnownToBeTooLargeIsRefusedUnread) {
    const TempFolder folder;
    const std::string sparse = folder.file("sparse.asm");
    ASSERT_EQ(::truncate(folder.write("sparse.asm", "").c_str(), maxSourceBytes + 1), 0);
    const std::uint64_t before = bytesRead();
    std::string contents, reason;
    EXPECT_FALSE(readWholeFile(sparse, contents, reason));
    EXPECT_EQ(reason, "larger than 256 MiB, too large for a source");
    EXPECT_LT(bytesRead() - before, 4096u);

    const std::string exact = folder.write("exact", "12345");
    EXPECT_TRUE(readWholeFile(exact, contents, reason, 5));
    EXPECT_EQ(contents, "12345");
    EXPECT_FALSE(readWholeFile(exact, contents, reason, 4));
}

} // namespace
