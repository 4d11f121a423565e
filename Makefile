# Kolvane: the two commands are `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The game's; libcurl and nlohmann-json: the leaderboard's client; cpp-httplib
# and OpenSSL: kolvane-server and the loopback servers the client's tests talk
# to (openssl makes their certificates); SQLite, PostgreSQL's client and ICU
# (players' names): kolvane-server.
BUILD_PACKAGES := cmake make g++ pkg-config libsdl2-dev libstb-dev libgtest-dev libgmock-dev \
	libcurl4-openssl-dev nlohmann-json3-dev libcpp-httplib-dev libssl-dev \
	libsqlite3-dev libpq-dev libicu-dev
# The window tests' X server and tools (strace for the tick thread's I/O);
# openssl for the client's tests; the server tests' own PostgreSQL.
TEST_PACKAGES := xvfb xdotool x11-utils imagemagick twm evilwm openssl strace postgresql

.PHONY: all run test build deps test-deps golden screenshots sounds clean help install uninstall

all: build ## the same as build

deps: ## install the Debian packages the build needs
	@scripts/install-deps.sh $(BUILD_PACKAGES)

test-deps: ## install the packages the build and the tests need
	@scripts/install-deps.sh $(BUILD_PACKAGES) $(TEST_PACKAGES)

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKOLVANE_WERROR=$(WERROR)

build: deps $(BUILD_DIR)/CMakeCache.txt ## build everything into BUILD_DIR (build/)
	cmake -S . -B $(BUILD_DIR) -DKOLVANE_WERROR=$(WERROR) >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build ## build, then start the game
	$(BUILD_DIR)/src/app/kolvane

# The server's long fault runs have a target of their own (server-faults).
test: test-deps build ## build, then run every test (but the server's long fault runs)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE server-faults

golden: build ## regenerate the golden frames after a deliberate change to the picture
	tests/golden/regenerate.sh $(BUILD_DIR)/src/app/kolvane-sim

clean: ## remove BUILD_DIR
	rm -rf $(BUILD_DIR)

# `make help`: every target with its line, read from the `## ` comments on the
# targets' own lines, so that the list can't drift from the Makefile.
help: ## list every target with what it does
	@grep -hE '^[a-z][a-z-]*:.*## ' $(MAKEFILE_LIST) | \
		sed -E 's/^([a-z-]+):.*## (.*)$$/\1\t\2/' | \
		awk -F '\t' '{ printf "  %-14s %s\n", $$1, $$2 }'

# `make install`: what `cmake --install` puts in place (the programs in
# PREFIX/games, the desktop entry, metainfo, icons and docs), under DESTDIR
# when it is set; `make uninstall` removes the files that install listed in
# BUILD_DIR/install_manifest.txt (under the same DESTDIR).
PREFIX ?= /usr/local
install: build ## install the game into PREFIX (/usr/local; DESTDIR honoured)
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

uninstall: ## remove what the last make install put in place (give it the same DESTDIR)
	@test -f $(BUILD_DIR)/install_manifest.txt || { echo "uninstall: nothing installed from $(BUILD_DIR)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD_DIR)/install_manifest.txt | xargs -d '\n' rm -f --
	@sed -n 's|^\(.*/share/doc/kolvane\)/.*|$(DESTDIR)\1|p' $(BUILD_DIR)/install_manifest.txt | sort -u | \
		while read -r folder; do if [ -d "$$folder" ]; then rmdir --ignore-fail-on-non-empty "$$folder"; fi; done
	rm -f $(BUILD_DIR)/install_manifest.txt

# Every sound as a WAV file in BUILD_DIR/sounds, to listen to and tune
# (src/app/sound/sound_recipes.cpp), and the golden battle as a player hears it.
sounds: build ## write every sound as a WAV file into BUILD_DIR/sounds
	$(BUILD_DIR)/src/app/kolvane-sounds $(BUILD_DIR)/sounds --game tests/golden/battle.script --seed 188

# Remakes the README's pictures with the replay runner.
screenshots: build ## remake the README's pictures
	docs/images/make-screenshots.sh $(BUILD_DIR)/src/app/kolvane-sim

# `make soak`: the long soak under the sanitizers, SOAK_SCALE times the share
# that `make check` runs (1,000,000 ticks of play, 200,000 of chaos).
# `make fuzz`: the libFuzzer targets of the readers and of the leaderboard's
# submission path, FUZZ_SECONDS in all (three eighths for the script reader, a
# quarter each for the recording reader and the submission path, an eighth for
# the high-score table's), each from its seed corpus in tests/fuzz (a clang
# build in FUZZ_DIR).
SOAK_SCALE ?= 10
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev libfuzzer-14-dev
FUZZ_FLAGS := -fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow \
	-fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: soak fuzz fuzz-deps

# The soak is built in the sanitizer build folder of `make check` (ASAN_DIR).
soak: deps ## the long soak under the sanitizers (SOAK_SCALE shares)
	$(ASAN_CONFIGURE) >/dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS) --target soak_tests
	cd $(ASAN_DIR) && KOLVANE_SOAK_SCALE=$(SOAK_SCALE) ctest --output-on-failure -j $(JOBS) -L soak

fuzz-deps: ## install what the fuzzers need
	@scripts/install-deps.sh $(BUILD_PACKAGES) $(FUZZ_PACKAGES)

fuzz: fuzz-deps ## run the fuzzers for FUZZ_SECONDS in all
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DKOLVANE_TESTS=OFF -DKOLVANE_FUZZ=ON -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" >/dev/null
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target script_fuzzer recording_fuzzer score_table_fuzzer \
		submission_fuzzer
	tests/fuzz/run.sh $(FUZZ_DIR)/tests/fuzz/script_fuzzer $$(( ($(FUZZ_SECONDS) * 3 + 7) / 8 )) $(FUZZ_DIR)/run
	tests/fuzz/run.sh $(FUZZ_DIR)/tests/fuzz/recording_fuzzer $$(( ($(FUZZ_SECONDS) + 3) / 4 )) \
		$(FUZZ_DIR)/run-recording recording_corpus recording.dict
	tests/fuzz/run.sh $(FUZZ_DIR)/tests/fuzz/score_table_fuzzer $$(( ($(FUZZ_SECONDS) + 7) / 8 )) \
		$(FUZZ_DIR)/run-scores score_corpus score.dict
	tests/fuzz/run.sh $(FUZZ_DIR)/tests/fuzz/submission_fuzzer $$(( ($(FUZZ_SECONDS) + 3) / 4 )) \
		$(FUZZ_DIR)/run-submission submission_corpus submission.dict

# `make check`: every test in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer (ASAN_DIR). `make determinism`: the same scripts
# through the optimised, debug, sanitizer and clang builds of kolvane-sim, whose
# traces and frames must be byte-identical. `make memcheck`: kolvane-sim under
# valgrind. `make lint`: clang-tidy (.clang-tidy) and cppcheck over src/.
# See docs/reliability.md.
ASAN_DIR ?= build-asan
DEBUG_DIR ?= build-debug
CLANG_DIR ?= build-clang
CLANG_PACKAGES := clang-14 libclang-rt-14-dev
LINT_PACKAGES := clang-tidy-14 cppcheck
ASAN_CONFIGURE := cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DKOLVANE_WERROR=$(WERROR) -DKOLVANE_SANITIZE=ON
CPPCHECK_FLAGS := --std=c++20 --language=c++ -I src --enable=warning,performance,portability \
	--error-exitcode=1 --inline-suppr --quiet

.PHONY: check determinism memcheck lint

check: test-deps ## every test under AddressSanitizer and UndefinedBehaviorSanitizer
	$(ASAN_CONFIGURE) >/dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -j $(JOBS) -LE server-faults

determinism: deps $(BUILD_DIR)/CMakeCache.txt ## the same scripts through four builds, traces and frames compared
	@scripts/install-deps.sh $(CLANG_PACKAGES)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-sim
	test -f $(ASAN_DIR)/CMakeCache.txt || $(ASAN_CONFIGURE) >/dev/null
	cmake --build $(ASAN_DIR) -j $(JOBS) --target kolvane-sim
	cmake -S . -B $(DEBUG_DIR) -DCMAKE_BUILD_TYPE=Debug -DKOLVANE_WERROR=$(WERROR) \
		-DKOLVANE_TESTS=OFF >/dev/null
	cmake --build $(DEBUG_DIR) -j $(JOBS) --target kolvane-sim
	cmake -S . -B $(CLANG_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DKOLVANE_WERROR=$(WERROR) -DKOLVANE_TESTS=OFF >/dev/null
	cmake --build $(CLANG_DIR) -j $(JOBS) --target kolvane-sim
	@# No file of any build may be compiled with fused multiply-adds.
	@for d in $(BUILD_DIR) $(DEBUG_DIR) $(ASAN_DIR) $(CLANG_DIR); do \
		n=$$(grep -c '"command"' $$d/compile_commands.json); \
		f=$$(grep '"command"' $$d/compile_commands.json | grep -c -- '-ffp-contract=off'); \
		[ "$$n" = "$$f" ] || { echo "determinism: $$((n - f)) files of $$d lack -ffp-contract=off"; exit 1; }; \
	done
	JOBS=$(JOBS) tests/determinism/compare.sh $(BUILD_DIR)/determinism \
		release=$(BUILD_DIR)/src/app/kolvane-sim debug=$(DEBUG_DIR)/src/app/kolvane-sim \
		asan=$(ASAN_DIR)/src/app/kolvane-sim clang=$(CLANG_DIR)/src/app/kolvane-sim

memcheck: deps $(BUILD_DIR)/CMakeCache.txt ## kolvane-sim under valgrind
	@scripts/install-deps.sh valgrind
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-sim
	tests/memcheck/run.sh $(BUILD_DIR)/src/app/kolvane-sim $(BUILD_DIR)/memcheck

lint: deps $(BUILD_DIR)/CMakeCache.txt ## clang-tidy and cppcheck over src/
	@scripts/install-deps.sh $(LINT_PACKAGES)
	run-clang-tidy-14 -p $(BUILD_DIR) -quiet -j $(JOBS) '$(CURDIR)/src/' >$(BUILD_DIR)/clang-tidy.log 2>&1 || \
		{ grep -E -A3 '(warning|error):' $(BUILD_DIR)/clang-tidy.log; echo 'lint: clang-tidy found problems'; exit 1; }
	@echo "lint: clang-tidy clean over $$(grep -c '\"file\": \"$(CURDIR)/src/' $(BUILD_DIR)/compile_commands.json) files of src/"
	cppcheck $(CPPCHECK_FLAGS) -j $(JOBS) src
	@echo "lint: cppcheck clean over src/"

# `make bench`: Google Benchmark on a busy mid-game world (tick, paint, the
# collision pass, regions, the clear-and-copy baseline; medians of
# BENCH_REPETITIONS), the sound (a busy second mixed, the detector, the
# synthesis), the replay runner's throughput over BENCH_TICKS ticks, the
# figures of recordings (size, writes, verification), then `make pacing`. `make pacing`: the real window under Xvfb for
# PACING_TITLE_SECONDS of title screen and PACING_PLAY_SECONDS of play,
# measured by the kolvane-pacing build. See docs/performance.md.
BENCH_PACKAGES := libbenchmark-dev time xvfb xdotool
BENCH_REPETITIONS ?= 10
BENCH_TICKS ?= 100000
BENCH_RUNS ?= 3
PACING_TITLE_SECONDS ?= 20
PACING_PLAY_SECONDS ?= 20

.PHONY: bench bench-deps bench-build pacing

bench-deps: ## install what the benchmarks need
	@scripts/install-deps.sh $(BUILD_PACKAGES) $(BENCH_PACKAGES)

bench-build: bench-deps $(BUILD_DIR)/CMakeCache.txt ## build the benchmarks and the pacing build
	cmake -S . -B $(BUILD_DIR) -DKOLVANE_BENCH=ON -DKOLVANE_PACING_LOG=ON >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-bench kolvane-sound-bench kolvane-sim \
		kolvane-pacing kolvane-recording-figures kolvane-fake-leaderboard

bench: bench-build ## every benchmark, then the pacing of the real window
	$(BUILD_DIR)/bench/kolvane-bench --benchmark_repetitions=$(BENCH_REPETITIONS) \
		--benchmark_report_aggregates_only=true
	$(BUILD_DIR)/bench/kolvane-sound-bench --benchmark_repetitions=$(BENCH_REPETITIONS) \
		--benchmark_report_aggregates_only=true
	bench/throughput.sh $(BUILD_DIR)/src/app/kolvane-sim $(BENCH_TICKS) $(BENCH_RUNS)
	bench/recordings.sh $(BUILD_DIR)/src/app/kolvane-sim $(BUILD_DIR)/bench/kolvane-recording-figures
	bench/pacing.sh $(BUILD_DIR)/bench/kolvane-pacing $(PACING_TITLE_SECONDS) $(PACING_PLAY_SECONDS) \
		$(BUILD_DIR)/tests/app/network/kolvane-fake-leaderboard

pacing: bench-build ## the real window's pacing under Xvfb (and while sending to the world table)
	bench/pacing.sh $(BUILD_DIR)/bench/kolvane-pacing $(PACING_TITLE_SECONDS) $(PACING_PLAY_SECONDS) \
		$(BUILD_DIR)/tests/app/network/kolvane-fake-leaderboard

# `make windows`: kolvane.exe and kolvane-sim.exe, cross-compiled with MinGW-w64
# into WINDOWS_DIR (cmake/mingw-w64-x86_64.cmake). `make windows-test`: the
# Windows tests under Wine (the portable unit tests, the golden frames, the
# window under Xvfb), then the traces of the Linux and Windows replay runners
# compared (tests/app/win32/compare_traces.sh; see docs/windows.md).
# `make package`: the Debian package in BUILD_DIR (cpack). `make package-test`:
# installs it with apt, runs it and removes it (changes the system's packages).
WINDOWS_DIR ?= build-windows
WINE_PREFIX = $(CURDIR)/$(WINDOWS_DIR)/wine-prefix
# g++ builds the icon tools the Windows build runs (cmake/WindowsResources.cmake).
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix googletest libstb-dev g++ \
	nlohmann-json3-dev libcpp-httplib-dev
WINDOWS_TEST_PACKAGES := wine wine64 xvfb xdotool x11-utils imagemagick
TRACE_GAMES ?= 4
TRACE_TICKS ?= 10000
PACKAGE_PACKAGES := dpkg-dev file appstream desktop-file-utils imagemagick curl

.PHONY: windows windows-test package package-test

windows: ## cross-compile kolvane.exe and kolvane-sim.exe into WINDOWS_DIR
	@scripts/install-deps.sh $(WINDOWS_PACKAGES)
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKOLVANE_WERROR=$(WERROR) \
		-DKOLVANE_HOST_SIM=$(CURDIR)/$(BUILD_DIR)/src/app/kolvane-sim \
		-DKOLVANE_HOST_FAKE_LEADERBOARD=$(CURDIR)/$(BUILD_DIR)/tests/app/network/kolvane-fake-leaderboard \
		-DKOLVANE_HOST_SERVER=$(CURDIR)/$(BUILD_DIR)/src/server/kolvane-server \
		>/dev/null
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	@echo "windows: $(WINDOWS_DIR)/kolvane.exe $(WINDOWS_DIR)/kolvane-sim.exe"

# Wine is installed before any Windows program runs (ctest lists the Windows
# tests by running them); one Wine server serves the whole run.
windows-test: windows deps $(BUILD_DIR)/CMakeCache.txt ## the Windows tests under Wine, and the traces compared with Linux
	@scripts/install-deps.sh $(WINDOWS_TEST_PACKAGES)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-sim kolvane-fake-leaderboard kolvane-server
	tests/app/win32/wine-session.sh $(WINE_PREFIX) bash -c '\
		ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j $(JOBS) && \
		tests/app/win32/compare_traces.sh $(CURDIR)/$(BUILD_DIR)/src/app/kolvane-sim \
			$(CURDIR)/$(WINDOWS_DIR)/kolvane-sim.exe $(WINE_PREFIX) \
			$(CURDIR)/$(WINDOWS_DIR)/traces $(TRACE_GAMES) $(TRACE_TICKS)'

package: build ## the Debian package in BUILD_DIR
	@scripts/install-deps.sh $(PACKAGE_PACKAGES)
	cmake -S . -B $(BUILD_DIR) >/dev/null
	cd $(BUILD_DIR) && rm -f kolvane_*.deb && cpack -G DEB

package-test: package ## install the package, run it, remove it (changes the system)
	tests/packaging/package_test.sh $(BUILD_DIR)/kolvane_*.deb

# `make web`, `make serve`, `make web-test`: the game in a web page (emscripten);
# `make serve` serves it with the world leaderboard.
WEB_DIR ?= build-web
SERVE_PORT ?= 8080
# The most bytes each wasm program may have.
WASM_BUDGET := 100000
WEB_PACKAGES := cmake make python3 emscripten libstb-dev
WEB_TEST_PACKAGES := chromium
# emscripten's system libraries live in a cache inside the build folder, seeded
# with Debian's prebuilt ones (cmake/web-cache.sh); anything missing is built
# there from emscripten's sources, offline. Its helper scripts need Debian's
# JavaScript modules.
WEB_ENV := EM_CACHE=$(abspath $(WEB_DIR))/em-cache EM_FROZEN_CACHE= NODE_PATH=/usr/share/nodejs

.PHONY: web web-deps serve web-test web-libm

web-deps: ## install emscripten and what the web page needs
	@scripts/install-deps.sh $(WEB_PACKAGES)

# build-web/index.html, kolvane.js and kolvane.wasm: the page; and
# build-web/src/app/kolvane-sim.js: the replay runner for node.
web: web-deps ## build the web page and the node replay runner into WEB_DIR
	@cmake/web-cache.sh $(WEB_DIR)/em-cache
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release \
		'-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG' '-DCMAKE_CXX_FLAGS=-fno-exceptions -fno-rtti' \
		-DKOLVANE_WERROR=$(WERROR) -DKOLVANE_SDL=OFF -DKOLVANE_TESTS=OFF \
		-DKOLVANE_BENCH=OFF >/dev/null
	$(WEB_ENV) cmake --build $(WEB_DIR) -j $(JOBS) --target kolvane-web kolvane-sim
	@ls -l $(WEB_DIR)/index.html $(WEB_DIR)/world.js $(WEB_DIR)/kolvane.js $(WEB_DIR)/kolvane.wasm \
		$(WEB_DIR)/kolvane-watch.js $(WEB_DIR)/kolvane-watch.wasm
	@# Each program's wasm stays within its budget (docs/web.md).
	@for f in kolvane.wasm kolvane-watch.wasm; do \
		size=$$(stat -c %s $(WEB_DIR)/$$f); \
		[ $$size -le $(WASM_BUDGET) ] || { echo "web: $$f is $$size bytes, over its budget of $(WASM_BUDGET)"; exit 1; }; \
	done

# The web page served by kolvane-server, the world leaderboard, with its
# database in $$XDG_DATA_HOME/kolvane-server/ (docs/server.md).
serve: web deps $(BUILD_DIR)/CMakeCache.txt ## the web page and the world leaderboard on http://127.0.0.1:SERVE_PORT/
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-server
	@echo "Kolvane: open http://127.0.0.1:$(SERVE_PORT)/ in a browser (Ctrl+C stops the server)"
	$(BUILD_DIR)/src/server/kolvane-server --listen 127.0.0.1:$(SERVE_PORT) --web $(WEB_DIR)

# playwright-core, exactly as package-lock.json pins it; node and npm are the
# machine's own, or Debian's when there are none.
tests/app/web/node_modules/.package-lock.json: tests/app/web/package.json tests/app/web/package-lock.json
	@command -v node >/dev/null && command -v npm >/dev/null || scripts/install-deps.sh nodejs npm
	cd tests/app/web && npm ci --no-audit --no-fund

# The node replay runner against the native one on the golden scripts and long
# random games; then the page in Debian's chromium, and its World panel against
# a real kolvane-server on loopback (tests/app/web, docs/web.md).
web-test: web deps $(BUILD_DIR)/CMakeCache.txt tests/app/web/node_modules/.package-lock.json ## the web page in chromium, and the node runner against the native one
	@scripts/install-deps.sh $(WEB_TEST_PACKAGES)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-sim kolvane-server
	node tests/app/web/compare-traces.mjs --native $(BUILD_DIR)/src/app/kolvane-sim \
		--web $(WEB_DIR)/src/app/kolvane-sim.js --out $(WEB_DIR)/trace-compare
	node tests/app/web/page.test.mjs --site $(WEB_DIR) --out $(WEB_DIR)/web-test \
		--native $(BUILD_DIR)/src/app/kolvane-sim
	node tests/app/web/world.test.mjs --site $(WEB_DIR) --out $(WEB_DIR)/world-test \
		--native $(BUILD_DIR)/src/app/kolvane-sim --server $(BUILD_DIR)/src/server/kolvane-server

# How far emscripten's C library (musl) and the native one agree on the math
# functions the game calls, on arguments like the game's (docs/web.md).
web-libm: web ## compare emscripten's math functions with the native ones
	@scripts/install-deps.sh g++
	mkdir -p $(WEB_DIR)/libm
	$(CXX) -std=c++20 -O2 -ffp-contract=off -o $(WEB_DIR)/libm/probe tests/app/web/libm_probe.cpp
	$(WEB_ENV) em++ -std=c++20 -O2 -ffp-contract=off -sENVIRONMENT=node -sNODERAWFS=1 \
		-sWASM_ASYNC_COMPILATION=0 -sEXIT_RUNTIME=1 -o $(WEB_DIR)/libm/probe.js tests/app/web/libm_probe.cpp
	node tests/app/web/libm-compare.mjs $(WEB_DIR)/libm/probe $(WEB_DIR)/libm/probe.js $(WEB_DIR)/libm

# `make dist`: the release files of the committed HEAD in DIST_DIR (the
# Debian package, the Windows zip, the web page's zip, the source tarball and
# SHA256SUMS), every one built from the tarball's contents in DIST_WORK
# (scripts/dist.sh). `make dist-test`: each file unpacked and tried
# (tests/packaging/dist_test.sh; installs the package, so it needs root).
# DIST_SOURCE_SUITE=no leaves out the tarball's own make test (CI, whose make
# test of the same commit ran already). `make reproducible`: dist made twice, in two folders, compared byte for
# byte (tests/packaging/reproducible.sh). See docs/releases.md.
DIST_DIR ?= dist
DIST_WORK ?= build-dist
DIST_SOURCE_SUITE ?= yes
REPRODUCIBLE_DIR ?= build-reproducible
DIST_PACKAGES := $(sort $(BUILD_PACKAGES) $(WINDOWS_PACKAGES) $(WEB_PACKAGES) git zip dpkg-dev file)
DIST_TEST_PACKAGES := $(WINDOWS_TEST_PACKAGES) $(WEB_TEST_PACKAGES) unzip lintian appstream \
	desktop-file-utils binutils-mingw-w64-x86-64 curl
REPRODUCIBLE_PACKAGES := unzip wabt

.PHONY: dist dist-test reproducible

dist: ## the release files of the committed HEAD in DIST_DIR
	@scripts/install-deps.sh $(DIST_PACKAGES)
	scripts/dist.sh $(DIST_DIR) $(DIST_WORK) $(JOBS)

dist-test: dist tests/app/web/node_modules/.package-lock.json ## unpack and try each release file (installs the package)
	@scripts/install-deps.sh $(DIST_TEST_PACKAGES)
	DIST_SOURCE_SUITE=$(DIST_SOURCE_SUITE) tests/packaging/dist_test.sh $(DIST_DIR) $(DIST_WORK)/test $(JOBS)

reproducible: ## make dist twice in two folders and compare them byte for byte
	@scripts/install-deps.sh $(DIST_PACKAGES) $(REPRODUCIBLE_PACKAGES)
	@scripts/install-deps.sh --no-install-recommends diffoscope-minimal
	tests/packaging/reproducible.sh $(REPRODUCIBLE_DIR) $(JOBS)

# `make server-faults`: kolvane-server's fault runs (SIGKILL of the server and
# of a verifier-only process during 1,000 submissions, PostgreSQL stopped and
# started, a full disk, a read-only database), each bounded in time; see
# docs/reliability.md. `make server-bench`: its figures (docs/performance.md).
.PHONY: server-faults server-bench

server-bench: deps $(BUILD_DIR)/CMakeCache.txt ## the leaderboard server's figures (wrk, a million games)
	@scripts/install-deps.sh wrk time curl python3
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-server kolvane-sim kolvane-server-bench \
		kolvane-recording-figures
	bench/server/run.sh $(BUILD_DIR)

server-faults: test-deps $(BUILD_DIR)/CMakeCache.txt ## the server's fault runs: kills, PostgreSQL stopped, full disk, read-only
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kolvane-server kolvane-sim server_fault_tests
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -L server-faults
