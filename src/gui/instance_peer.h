// Whether the far end of a connected local socket runs as this user: a later start hands its
// file name only to the user's own window, never to a listener that someone else put on the
// socket's name first.
#pragma once

#include <QtGlobal>

bool peerIsThisUser(qintptr socketDescriptor);
