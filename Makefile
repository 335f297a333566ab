# `make run` builds the program with its word files and starts Quorvane; `make test` builds
# everything and runs every test headless; `make fuzz` runs every libFuzzer target for
# FUZZ_SECONDS under ASan and UBSan (clang, FUZZ=1).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
FUZZ_SECONDS ?= 60
ifeq ($(FUZZ),1)
BUILD := build-fuzz
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON
DEPS_FLAGS := --fuzz
endif

.PHONY: all deps configure build test run bench fuzz format clean

all: build

deps:
	@tools/setup-deps.sh $(DEPS_FLAGS)

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target quorvane wordfiles
	$(BUILD)/bin/quorvane

bench: build
	$(BUILD)/bin/quorvane-bench

fuzz:
	$(MAKE) FUZZ=1 build
	tools/run-fuzz.sh build-fuzz $(FUZZ_SECONDS) $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-fuzz
