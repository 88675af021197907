#pragma once

#include <QString>

// Opens a new message with subject and body in the user's mail program
// (through xdg-email), for the user to address and send; no recipient, no
// attachment. Waits until the command has ended: true only when it ended
// normally with code 0. The command is looked up once per process; when it
// is not installed, every call returns false without a trace.
bool SendMail(const QString& subject, const QString& body);
