#pragma once
// The system's browser control shows every page in its oldest document mode unless the registry
// names the program that embeds it. Corvane names itself there once, before it creates the
// control: the one registry value it ever writes.

namespace browser {

// In the current user's key
// Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION, when
// no value is named after the executable's file name, writes one: DWORD 11000, the newest engine,
// standards or quirks mode as the page's DOCTYPE asks. A value that is there stays as the user or
// an administrator set it. Failures are passed over: the control then works as before.
void AskForStandardsMode();

}  // namespace browser
