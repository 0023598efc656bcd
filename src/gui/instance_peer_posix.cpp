#include <sys/socket.h>
#include <unistd.h>

#include "gui/instance_peer.h"

bool peerIsThisUser(qintptr socketDescriptor) {
#ifdef SO_PEERCRED
    ucred peer{};
    socklen_t size = sizeof peer;
    return getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
#else
    uid_t uid;
    gid_t gid;
    return getpeereid(static_cast<int>(socketDescriptor), &uid, &gid) == 0 && uid == geteuid();
#endif
}
