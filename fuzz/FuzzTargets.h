// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets, one TELVARO_FUZZ_TARGET(name) each: fuzz_<name>.cpp, its
// seeds in fuzz/seeds/<name>/. Included with TELVARO_FUZZ_TARGET defined.
TELVARO_FUZZ_TARGET(inifile)
TELVARO_FUZZ_TARGET(calllog)
TELVARO_FUZZ_TARGET(modem)
TELVARO_FUZZ_TARGET(instance)
TELVARO_FUZZ_TARGET(link)
TELVARO_FUZZ_TARGET(translate)
TELVARO_FUZZ_TARGET(dbusrequest)
TELVARO_FUZZ_TARGET(sip)
TELVARO_FUZZ_TARGET(locations)
TELVARO_FUZZ_TARGET(directory)
TELVARO_FUZZ_TARGET(preferences)
TELVARO_FUZZ_TARGET(uucplock)
TELVARO_FUZZ_TARGET(session)
TELVARO_FUZZ_TARGET(mesg)
