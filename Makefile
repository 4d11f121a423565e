# Kolvane: the two commands are `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR ?= OFF
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

BUILD_PACKAGES := cmake make g++ pkg-config libsdl2-dev libpng-dev libgtest-dev libgmock-dev
TEST_PACKAGES := xvfb xdotool x11-utils imagemagick twm

.PHONY: all run test build deps test-deps golden screenshots clean

all: build

deps:
	@scripts/install-deps.sh $(BUILD_PACKAGES)

test-deps:
	@scripts/install-deps.sh $(BUILD_PACKAGES) $(TEST_PACKAGES)

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKOLVANE_WERROR=$(WERROR)

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake -S . -B $(BUILD_DIR) -DKOLVANE_WERROR=$(WERROR) >/dev/null
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/kolvane

test: test-deps build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Regenerates the golden frames under tests/ after a deliberate change to the picture.
golden: build
	tests/golden/regenerate.sh $(BUILD_DIR)/src/app/kolvane-sim

clean:
	rm -rf $(BUILD_DIR)

# Remakes the README's pictures with the replay runner.
screenshots: build
	docs/images/make-screenshots.sh $(BUILD_DIR)/src/app/kolvane-sim
