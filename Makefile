# Front door: `make demo` runs the player on the demo menu, `make test` runs every test.
# Both install missing Debian packages first (scripts/install-deps.sh).

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600
# Missing packages are installed before anything else (once: a stamp in build/ then says
# they are in, until the package list changes), since the choice below depends on
# whether Wine's 32-bit side could be installed.
ifeq ($(filter clean,$(MAKECMDGOALS)),)
$(shell ./scripts/install-deps.sh >&2)
ifneq ($(.SHELLSTATUS),0)
$(error the packages could not be installed (scripts/install-deps.sh))
endif
endif
# The Windows build that the Wine tests, the demo and the benchmarks run: win32 where this
# host runs 32-bit programs and its 32-bit Wine is installed, win64 where it cannot. Decided once here and said in one line;
# WINDOWS_ARCH=win32 or win64 overrides it.
override WINDOWS_ARCH := $(shell WINDOWS_ARCH='$(WINDOWS_ARCH)' ./scripts/windows-arch.sh)
ifeq ($(WINDOWS_ARCH),)
$(error no Windows build chosen: WINDOWS_ARCH must be win32 or win64)
endif
export WINDOWS_ARCH
WINDOWS_BUILD := build/$(WINDOWS_ARCH)
export WINEPREFIX := $(CURDIR)/build/wineprefix-$(WINDOWS_ARCH)
export WINEDEBUG ?= -all
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"
CTEST_WINDOWS := ctest --test-dir $(WINDOWS_BUILD) --output-on-failure

.PHONY: all deps native win32 win64 windows player32 player64 players sanitize tsan fuzz-build wineprefix demo \
        web test-web test test-unit test-sanitize test-wine test-tsan fuzz fuzz-smoke bench bench-window \
        bench-web bench-designer format format-check tidy clean dist test-dist

all: native windows web

deps:
	@./scripts/install-deps.sh

# The tool carries the bare players (tools/pack/CMakeLists.txt), so they are built first;
# building them needs only MinGW, never Wine, and so works on hosts without 32-bit support.
native: players
	cmake --preset native >/dev/null
	cmake --build build/native -j$(JOBS)

# The Windows tool carries the browser player's page and the players, so the web build and
# the players come first.
win32 win64: web players
	cmake --preset $@ >/dev/null
	cmake --build build/$@ -j$(JOBS)

# The 32-bit player is the one shipped: always built, and checked without Wine even where
# its tests run through the 64-bit build.
player32 player64: player%:
	cmake --preset win$* >/dev/null
	cmake --build build/win$* -j$(JOBS) --target ambrevo

players: player32 player64

windows: $(WINDOWS_ARCH) player32

# The browser player (build/web/site), where Debian's emscripten is installed.
web:
	@if command -v em++ >/dev/null; then \
		NODE_PATH=/usr/share/nodejs cmake --preset web >/dev/null && \
		NODE_PATH=/usr/share/nodejs cmake --build build/web -j$(JOBS); \
	else \
		echo "em++ not found: the browser player is not built (needs Debian's emscripten)"; \
	fi

sanitize: players
	cmake --preset sanitize >/dev/null
	cmake --build build/sanitize -j$(JOBS)

# Only the menu tests (the picture decoding) and the authoring tool's page tests (the server,
# its snapshots and rebuilds) run threads, so only they are built here.
tsan:
	cmake --preset tsan >/dev/null
	cmake --build build/tsan -j$(JOBS) --target menu_test pack_web_tests

fuzz-build:
	cmake --preset fuzz >/dev/null
	cmake --build build/fuzz -j$(JOBS) --target package_reader_fuzzer fuzz_seed_corpus

wineprefix:
	@./scripts/wine-prefix.sh

demo: native windows wineprefix
	./scripts/run-demo.sh

test: format-check test-unit test-sanitize test-tsan test-wine test-web test-dist fuzz-smoke

test-unit: native
	ctest --test-dir build/native -L unit --output-on-failure -j$(JOBS)

# The browser player in headless Chromium, with the demo built by the native tool, and
# compared with the Windows player under Wine.
test-web: native web windows wineprefix
	$(XVFB) ctest --test-dir build/native -L web --output-on-failure

test-sanitize: sanitize
	ctest --test-dir build/sanitize -L unit --output-on-failure -j$(JOBS)

test-tsan: tsan
	ctest --test-dir build/tsan -R '^(menu_test|pack_web_tests)$$' --output-on-failure

test-wine: windows wineprefix
	$(XVFB) $(CTEST_WINDOWS) -L 'wine|e2e|player'
ifeq ($(WINDOWS_ARCH),win64)
	ctest --test-dir build/win32 -L player --output-on-failure
	@echo "The 32-bit player was checked as a file; its behaviour was tested through the" \
	      "64-bit build of the same sources, as Wine cannot run 32-bit programs on this host."
endif
ifeq ($(WINDOWS_ARCH),win32)
	@[ -x /usr/lib/wine/wine64 ] || echo "No 64-bit Wine (/usr/lib/wine/wine64): the 64-bit" \
	      "player was not built or run."
endif

# Where the Wine tests run the 32-bit build, the 64-bit player gets a short run too, under
# the 64-bit Wine in a 64-bit prefix of its own, whenever that Wine is installed.
ifeq ($(WINDOWS_ARCH),win32)
ifneq ($(wildcard /usr/lib/wine/wine64),)
test-wine: test-wine64-smoke
endif
endif

WINE64_SMOKE_ENV := WINDOWS_ARCH=win64 WINEPREFIX=$(CURDIR)/build/wineprefix-win64
.PHONY: test-wine64-smoke
test-wine64-smoke: web
	cmake --preset win64 >/dev/null
	cmake --build build/win64 -j$(JOBS) --target ambrevo ambrevo-pack
	$(WINE64_SMOKE_ENV) ./scripts/wine-prefix.sh
	$(WINE64_SMOKE_ENV) $(XVFB) ctest --test-dir build/win64 -L 'wine64_smoke|player' \
		--no-tests=error --output-on-failure

# The downloads for authors (scripts/make-dist.py): the 64-bit Windows tool, which runs on
# every Windows an author designs on, and the Linux tool, each with the page and both players.
dist: native web players
	cmake --preset win64 >/dev/null
	cmake --build build/win64 -j$(JOBS) --target ambrevo-pack
	python3 scripts/make-dist.py --root . --windows-tool build/win64/ambrevo-pack.exe \
		--linux-tool build/native/ambrevo-pack --site build/web/site --out dist

# Each download unpacked into a fresh folder (and a fresh Wine prefix) and used.
test-dist: dist
	$(XVFB) ctest --test-dir build/native -L dist --output-on-failure

fuzz-smoke: fuzz-build
	./scripts/fuzz.sh 30

fuzz: fuzz-build
	./scripts/fuzz.sh $(FUZZ_SECONDS)

bench: native
	./build/native/bench/menu_load_bench
	./build/native/bench/window_animation_bench
	./build/native/bench/missing_target_search_bench

# The rich menu's time to window under Wine against a bare window, and beside its floor
# (the bare window plus decoding the disc's pictures) (bench/time_to_window.py).
bench-window: native windows wineprefix
	$(XVFB) python3 bench/time_to_window.py --player $(WINDOWS_BUILD)/ambrevo.exe \
		--disc-maker build/native/bench/rich_menu_disc --runs 15 \
		--stream-floor build/native/bench/stream_floor

# The browser player's first frame beside a bare page's floor, wasm size and the rich
# menu's animation rate in headless Chromium (bench/web_first_frame.py).
bench-web: native web windows
	/usr/bin/python3 bench/web_first_frame.py --pack build/native/ambrevo-pack --site build/web/site \
		--demo examples/demo --disc-maker build/native/bench/rich_menu_disc \
		--player $(WINDOWS_BUILD)/ambrevo.exe --stream-floor build/native/bench/stream_floor

# The designer's answer to a drag, from the release to the rebuilt menu's first frame, on
# the demo and the rich menu (bench/designer_drag.py).
bench-designer: native web windows
	$(XVFB) /usr/bin/python3 bench/designer_drag.py --pack build/native/ambrevo-pack \
		--site build/web/site --demo examples/demo --disc-maker build/native/bench/rich_menu_disc \
		--player $(WINDOWS_BUILD)/ambrevo.exe

# The checked-in .clang-format over every C and C++ file git tracks: format-check fails on
# the first file that differs, format rewrites them.
FORMATTED := git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0
format-check:
	@$(FORMATTED) clang-format --dry-run --Werror
format:
	@$(FORMATTED) clang-format -i

# The checked-in .clang-tidy over the player's and the tool's sources, from a build of its
# own that lists every file's compile command (the others join files into unity sources).
tidy:
	cmake --preset tidy >/dev/null
	cmake --build build/tidy -j$(JOBS)
	run-clang-tidy -quiet -p build/tidy -j $(JOBS) '/(src|tools)/'

clean:
	rm -rf build dist
