#pragma once

// Settings of the process that the program and its benchmark share.
namespace ProcessSetup {

// The C library looks at /etc/localtime on every local-time conversion unless TZ names it;
// reading thousands of dates would then cost a file lookup each.
void avoidRepeatedTimeZoneLookups();

} // namespace ProcessSetup
