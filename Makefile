# Zentavo - the two commands a newcomer needs, and the steps behind them.
#   make run    install what is missing, build quorvel.exe and run it under Wine on the bundled
#               sample: in a window on your display, or, without a display, as a screenshot
#               saved in the build folder
#   make test   install what is missing, build every build and run every test
#
# Two Windows builds come from the same sources: build/win32 (the 32-bit program we ship first)
# and build/win64. Both programs are always built; the Windows tests are built and run for the
# one that runs here: win32 where this machine can run 32-bit programs under Wine, else win64
# (scripts/windows-build decides and says why). WINDOWS_BUILD=win64 or win32 makes the choice.
#
# and beside them:
#   make web           the web page: build/web/ holds the page, the core compiled to
#                      WebAssembly, the samples and the HTML manual, for any static web server
#   make dist          the download for Windows users: build/zentavo-VERSION.zip with both
#                      programs, their help files, the HTML manual, the samples and a read-me
#   make screenshots   pictures of the window program on the sample, one per scene and the show
#                      scene again at 150% and 200%, saved as PNG files in the build folder
#                      (under a virtual display when there is none)
#   make fuzz          run every fuzz target for FUZZ_SECONDS seconds (default 60)
#   make reliability   the slow measurements: huge inputs, 10,000 loads, valgrind
#   make install       zentavo-cli and its manual page into PREFIX (default /usr/local), under
#                      DESTDIR when one is given
# and, for performance work (docs/PERFORMANCE.md):
#   make bench         install the benchmark tools, build both builds with the benchmarks (in
#                      build/benchmarks) and print every performance comparison with its goal
#                      (not part of make test)
BUILD ?= build
NATIVE := $(BUILD)/native
WIN32 := $(BUILD)/win32
WIN64 := $(BUILD)/win64
ASAN := $(BUILD)/asan
FUZZ := $(BUILD)/fuzz
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
VERSION := $(shell scripts/project-version)
SAMPLE ?= samples/town-news.new
SCREENSHOT := $(BUILD)/quorvel-screenshot.png
SCREENSHOTS := $(BUILD)/screenshots
# The display resolutions besides 96 DPI that make screenshots shows the show scene at.
SCREENSHOT_DPIS := 144 192
# $(call configure_windows,FOLDER,TOOLCHAIN,TESTS) configures one Windows build; TESTS is ON or OFF.
configure_windows = cmake -S . -B $(1) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$(2).cmake -DCMAKE_BUILD_TYPE=Release \
  -DZENTAVO_HELPGEN=$(abspath $(NATIVE))/help/zentavo-helpgen -DBUILD_TESTING=$(3)
# The Windows build that runs here, as a shell word for recipes: win32 or win64.
RUNS_HERE = $$(scripts/windows-build)

.PHONY: all deps native windows win32 win64 asan fuzz-build test test-native test-windows test-asan test-fuzz \
	fuzz reliability install run screenshots dist test-dist web test-web bench format clean

all: native windows

deps:
	@scripts/install-deps

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# The native build comes first: its zentavo-helpgen writes QUORVEL.HLP beside the programs.
# Each Windows build gets its tests only where it is the one that runs here.
windows: native
	@runs=$$(scripts/windows-build --explain) && \
	$(call configure_windows,$(WIN32),i686,$$([ $$runs = win32 ] && echo ON || echo OFF)) >/dev/null && \
	cmake --build $(WIN32) -j $(JOBS) && \
	$(call configure_windows,$(WIN64),x86_64,$$([ $$runs = win64 ] && echo ON || echo OFF)) >/dev/null && \
	cmake --build $(WIN64) -j $(JOBS)

win32 win64: native
	@$(call configure_windows,$(BUILD)/$@,$(if $(filter win32,$@),i686,x86_64),ON) >/dev/null
	@cmake --build $(BUILD)/$@ -j $(JOBS)

# The native tests and zentavo-cli with AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DZENTAVO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)

# The core and the libFuzzer targets, built with clang.
fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTAVO_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

test: test-native test-asan test-fuzz test-web test-dist test-windows

test-native: native
	cd $(NATIVE) && ctest --output-on-failure --timeout 300

# AddressSanitizer's reports (leaks included) go to files, so a report from any process,
# a zentavo-cli started by a test included, fails the run even when the test did not
# notice. GCC's UndefinedBehaviorSanitizer ignores log_path next to AddressSanitizer, so
# it aborts the process instead, which every test that starts one checks for.
SANITIZER_LOG = $(abspath $(ASAN))/sanitizer-reports
test-asan: asan
	@rm -rf $(SANITIZER_LOG) && mkdir -p $(SANITIZER_LOG)
	@cd $(ASAN) && ASAN_OPTIONS=log_path=$(SANITIZER_LOG)/asan:detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:abort_on_error=1 ctest --output-on-failure; \
	status=$$?; \
	if [ -n "$$(ls -A $(SANITIZER_LOG))" ]; then cat $(SANITIZER_LOG)/*; echo "test-asan: sanitizer reports" >&2; status=1; fi; \
	exit $$status

# Replays every fuzz corpus once through the libFuzzer binaries.
test-fuzz: fuzz-build
	cd $(FUZZ) && ctest --output-on-failure

fuzz: fuzz-build
	@scripts/run-fuzzers $(FUZZ) $(FUZZ_SECONDS)

reliability: native
	@scripts/reliability $(NATIVE)

install: native
	DESTDIR="$(DESTDIR)" cmake --install $(NATIVE) --prefix "$(PREFIX)"

# The Windows tests of the build that runs here share one Wine prefix and one virtual display;
# Wine ends before the display.
test-windows: windows
	@build=$(RUNS_HERE) && scripts/wine-run --$$build --init && \
	cd $(BUILD)/$$build && $(CURDIR)/scripts/virtual-display sh -c \
	  'ctest --output-on-failure --timeout 600; status=$$?; $(CURDIR)/scripts/wine-run --'$$build' --wait; exit $$status'

# The window program on the sample, started in the folder that holds it and QUORVEL.HLP, so
# that its help command finds the help file there. Without a display it runs under Xvfb and
# leaves a screenshot of its first news instead.
run: windows
	@export WINDOWS_BUILD=$(RUNS_HERE) && cd $(BUILD)/$$WINDOWS_BUILD/bin && \
	if [ -n "$$DISPLAY" ]; then $(CURDIR)/scripts/wine-run quorvel.exe $(abspath $(SAMPLE)); \
	else $(CURDIR)/scripts/screenshot --scene show $(abspath $(SCREENSHOT)) quorvel.exe $(abspath $(SAMPLE)); fi

# One run of the window program per scene that zentavo-scene.exe lists (tools/scene.cpp holds the
# one list; it is asked on a virtual display, where its Wine also ends), then the show scene at each
# of SCREENSHOT_DPIS, each run on a virtual display of its own when there is no display.
screenshots: windows
	@export WINDOWS_BUILD=$(RUNS_HERE) && cd $(BUILD)/$$WINDOWS_BUILD/bin && \
	scenes=$$(xvfb-run -a sh -c '$(CURDIR)/scripts/wine-run zentavo-scene.exe --list && $(CURDIR)/scripts/wine-run --wait' | \
	  tr -d '\r') && [ -n "$$scenes" ] && \
	for scene in $$scenes; do \
	  $(CURDIR)/scripts/screenshot --scene $$scene $(abspath $(SCREENSHOTS))/quorvel-$$scene.png quorvel.exe \
	    $(abspath $(SAMPLE)) || exit 1; done && \
	for dpi in $(SCREENSHOT_DPIS); do \
	  $(CURDIR)/scripts/screenshot --dpi $$dpi --scene show $(abspath $(SCREENSHOTS))/quorvel-show-$${dpi}dpi.png \
	    quorvel.exe $(abspath $(SAMPLE)) || exit 1; done

# The web page takes the HTML manual and the version header from the native build, and its
# test compares the page with zentavo-cli in headless Chromium (skipped where Chromium is
# missing), so only those two targets of the native build are needed.
include web/web.mk
web: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) --target zentavo-cli zentavo_help_file -j $(JOBS)
	@$(MAKE) web-files

test-web: web
	@node tests/web/web-test.js --web $(WEB) --cli $(NATIVE)/cli/zentavo-cli

dist: windows
	@scripts/make-dist $(BUILD)

# The zip unpacked in a temporary folder, its program started there under Wine.
test-dist: dist
	@tests/dist/dist-test $(BUILD)/zentavo-$(VERSION).zip

# Both sides of every comparison run in one go on a private virtual display; see
# docs/PERFORMANCE.md for the goals and the figures. The benchmarks have build folders of their
# own, so that the benchmark option never stays behind in the builds that make test uses.
BENCH_BUILD := $(BUILD)/benchmarks
bench: NATIVE := $(BENCH_BUILD)/native
bench: deps
	@scripts/install-deps --bench
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTAVO_BENCH=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)
	@build=$(RUNS_HERE) && $(call configure_windows,$(BENCH_BUILD)/$$build,$$([ $$build = win32 ] && echo i686 || echo x86_64),ON) \
	  -DZENTAVO_BENCH=ON >/dev/null && cmake --build $(BENCH_BUILD)/$$build -j $(JOBS) && \
	scripts/virtual-display node bench/compare.js --build $(BENCH_BUILD) --windows $$build

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
