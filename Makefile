# SPDX-License-Identifier: GPL-3.0-or-later
# Telvaro: `make run` builds and starts the program, `make test` builds and
# runs every test, `make install` (PREFIX, DESTDIR) installs it, `make
# uninstall` removes what it installed, `make package` builds a Debian
# package. They first install the Debian packages that are missing.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

DEB_PACKAGES := cmake make g++ pkg-config \
	qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libqt6svg6 \
	qt6-tools-dev qt6-l10n-tools qt6-translations-l10n \
	qt6-qpa-plugins libgl-dev libasound2-dev libbenchmark-dev \
	xvfb xauth trayer xdotool at-spi2-core python3-pyatspi gir1.2-atspi-2.0 \
	dbus-daemon appstream desktop-file-utils xdg-utils \
	libsofia-sip-ua-dev libsofia-sip-ua-glib-dev qtkeychain-qt6-dev \
	sip-tester baresip-core gnome-keyring

PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps build run test test-plain test-asan bench fuzz soak clean install uninstall package \
	check-package

all: build

# Installs those of the Debian packages $(1) that are missing.
define install_missing
missing=""; \
	for p in $(1); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	@$(call install_missing,$(DEB_PACKAGES))

build: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTELVARO_BUILD_TESTS=OFF
	cmake --build build/release -j $(JOBS)

install: build
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"
	@# Menus and link handlers see the new entry at once (not for staged installs).
	@if [ -z "$(DESTDIR)" ] && command -v update-desktop-database >/dev/null; then \
		update-desktop-database -q "$(PREFIX)/share/applications" || true; \
	fi

# Removes the files the last `make install` put in place (same DESTDIR).
uninstall:
	@test -f build/release/install_manifest.txt || { echo "Nothing installed from this tree"; exit 1; }
	sed 's|^|$(DESTDIR)|' build/release/install_manifest.txt | xargs -d '\n' rm -f
	@if [ -z "$(DESTDIR)" ] && command -v update-desktop-database >/dev/null; then \
		update-desktop-database -q "$(PREFIX)/share/applications" || true; \
	fi

package: build
	rm -f build/release/telvaro_*.deb
	cd build/release && cpack -G DEB
	cp build/release/telvaro_*.deb .
	@ls -l build/release/telvaro_*.deb

# The package as Debian's tools judge it: fails on any lintian error or
# warning, any AppStream or menu entry issue above the pedantic hints. It
# needs the Release build of `make package`, so `make test` leaves it out.
CHECK_PACKAGE_PACKAGES := lintian appstream desktop-file-utils

check-package: package
	@$(call install_missing,$(CHECK_PACKAGE_PACKAGES))
	sh tools/packaging/check-package.sh build/release/telvaro_*.deb

run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
		./build/release/telvaro; \
	else \
		echo "No display: starting Telvaro under Xvfb"; \
		xvfb-run -a ./build/release/telvaro; \
	fi

test: deps test-plain test-asan

# The test builds keep line tables only: enough for sanitizer stack traces,
# and much quicker to build than full debug information.
TEST_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DTELVARO_BUILD_BENCH=OFF

# The sanitizers of the ASan build: leaks are reported, except those of the
# system libraries listed (each with its reason) in tests/lsan.supp.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

test-plain:
	cmake -S . -B build/test $(TEST_FLAGS)
	cmake --build build/test -j $(JOBS)
	cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B build/asan $(TEST_FLAGS) -DTELVARO_SANITIZE=ON
	cmake --build build/asan -j $(JOBS)
	cd build/asan && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS)
	@for b in build/release/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Every fuzz target for FUZZ_SECONDS each, one after the other. Each keeps
# its corpus in build/fuzz/corpus/<target> and starts from fuzz/seeds/<target>;
# an input that breaks a property lands in build/fuzz/artifacts/<target>/ (add
# it to the seeds once the fault is fixed: `make test` runs every seed).
FUZZ_TARGETS := inifile calllog modem instance link translate dbusrequest sip \
	locations directory preferences uucplock session mesg

FUZZ_PACKAGES := clang libclang-rt-14-dev

fuzz: deps
	@$(call install_missing,$(FUZZ_PACKAGES))
	CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
		-DTELVARO_BUILD_FUZZ=ON -DTELVARO_BUILD_TESTS=OFF -DTELVARO_BUILD_BENCH=OFF
	cmake --build build/fuzz -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
		mkdir -p build/fuzz/corpus/$$t build/fuzz/artifacts/$$t; \
		echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
		ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
			./build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=25 \
			-print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/$$t/ \
			build/fuzz/corpus/$$t fuzz/seeds/$$t || exit 1; \
	done

# A day of use in SOAK_MINUTES (default 30), driven from outside the program
# (tools/soak/soak.py): the sanitizer build with leak checking and the release
# build, whose memory is sampled, side by side, each against its own modem
# simulator. Each prints its summary; fails on any sanitizer report or leak,
# a number handed over and never dialed, a lost or made-up log record, an
# unreadable settings file or memory growing by 1 MB per hour or more.
SOAK_MINUTES ?= 30
SOAK_PACKAGES := python3 xvfb xdotool imagemagick dbus-daemon libglib2.0-bin

soak: deps
	@$(call install_missing,$(SOAK_PACKAGES))
	cmake -S . -B build/asan $(TEST_FLAGS) -DTELVARO_SANITIZE=ON
	cmake --build build/asan -j $(JOBS) --target telvaro telvaro-modemsim
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTELVARO_BUILD_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target telvaro telvaro-modemsim
	@$(SANITIZER_ENV) python3 tools/soak/soak.py --label sanitizer --sanitized \
		--telvaro build/asan/telvaro --modemsim build/asan/tools/modemsim/telvaro-modemsim \
		--minutes $(SOAK_MINUTES) & sanitized=$$!; \
	python3 tools/soak/soak.py --label release --rss-limit \
		--telvaro build/release/telvaro --modemsim build/release/tools/modemsim/telvaro-modemsim \
		--minutes $(SOAK_MINUTES) & release=$$!; \
	wait $$sanitized; a=$$?; wait $$release; b=$$?; [ $$a = 0 ] && [ $$b = 0 ]

clean:
	rm -rf build
