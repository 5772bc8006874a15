#pragma once
// Connecting to a server that may refuse the data source's login: the user types another one.

#include <QString>
#include <functional>

namespace zarnel {

// Runs connect; while it fails because the server refused the login, asks for user and password (kept in
// memory only) and runs it again. False when it fails otherwise or the user cancels; a cancel forgets the
// typed login.
bool ConnectAskingLogin(const std::function<bool()>& connect);

// The start-up and data-source messages about a failed connection: text, and for a data source the
// server's reason after it.
QString WithConnectFailure(const QString& text);

} // namespace zarnel
