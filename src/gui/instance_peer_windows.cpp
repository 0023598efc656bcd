// Pipe names are one namespace for all users of a machine: the server's process must run as
// the same user as this one.
#include <windows.h>

#include <vector>

#include "gui/instance_peer.h"

namespace {

// The user of a process's token, as bytes holding a TOKEN_USER; empty when it cannot be read.
std::vector<unsigned char> tokenUser(HANDLE process) {
    HANDLE token = nullptr;
    std::vector<unsigned char> user;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return user;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    user.resize(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
    CloseHandle(token);
    return user;
}

}  // namespace

bool peerIsThisUser(qintptr socketDescriptor) {
    ULONG serverId = 0;
    if (!GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(socketDescriptor), &serverId)) return false;
    HANDLE server = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, serverId);
    if (!server) return false;
    const std::vector<unsigned char> theirs = tokenUser(server);
    CloseHandle(server);
    const std::vector<unsigned char> mine = tokenUser(GetCurrentProcess());
    return !theirs.empty() && !mine.empty() &&
           EqualSid(reinterpret_cast<const TOKEN_USER*>(theirs.data())->User.Sid,
                    reinterpret_cast<const TOKEN_USER*>(mine.data())->User.Sid);
}
