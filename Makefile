# Front door: `make demo` runs the player on the demo menu, `make test` runs every test.
# Both install missing Debian packages first (scripts/install-deps.sh).

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600
export WINEPREFIX := $(CURDIR)/build/wineprefix
export WINEDEBUG ?= -all
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all deps native win32 sanitize tsan fuzz-build wineprefix demo test test-unit test-sanitize \
        test-wine test-tsan fuzz fuzz-smoke bench bench-window clean

all: native win32

deps:
	@./scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build build/native -j$(JOBS)

win32: deps
	cmake --preset win32 >/dev/null
	cmake --build build/win32 -j$(JOBS)

sanitize: deps
	cmake --preset sanitize >/dev/null
	cmake --build build/sanitize -j$(JOBS)

# Only the menu tests run threads (the picture decoding), so only they are built here.
tsan: deps
	cmake --preset tsan >/dev/null
	cmake --build build/tsan -j$(JOBS) --target menu_test

fuzz-build: deps
	cmake --preset fuzz >/dev/null
	cmake --build build/fuzz -j$(JOBS) --target package_reader_fuzzer fuzz_seed_corpus

wineprefix: deps
	@./scripts/wine-prefix.sh

demo: native win32 wineprefix
	./scripts/run-demo.sh

test: test-unit test-sanitize test-tsan test-wine fuzz-smoke

test-unit: native
	ctest --test-dir build/native -L unit --output-on-failure -j$(JOBS)

test-sanitize: sanitize
	ctest --test-dir build/sanitize -L unit --output-on-failure -j$(JOBS)

test-tsan: tsan
	ctest --test-dir build/tsan -R '^menu_test$$' --output-on-failure

test-wine: win32 wineprefix
	$(XVFB) ctest --test-dir build/win32 -L 'wine|e2e' --output-on-failure

fuzz-smoke: fuzz-build
	./scripts/fuzz.sh 60

fuzz: fuzz-build
	./scripts/fuzz.sh $(FUZZ_SECONDS)

bench: native
	./build/native/bench/menu_load_bench
	./build/native/bench/window_animation_bench
	./build/native/bench/missing_target_search_bench

# The rich menu's time to window under Wine against a bare window (bench/time_to_window.py).
bench-window: native win32 wineprefix
	$(XVFB) python3 bench/time_to_window.py --player build/win32/ambrevo.exe \
		--disc-maker build/native/bench/rich_menu_disc --runs 15

clean:
	rm -rf build
