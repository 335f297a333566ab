# `make run` builds the program (its three editions, word files and pictures) and starts it;
# `make test` builds everything and runs every test headless (`make test-sanitized` the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/); `make install` puts the program,
# its desktop entries and icons under PREFIX; `make fuzz` runs every libFuzzer target for
# FUZZ_SECONDS under ASan and UBSan (clang, FUZZ=1).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= $(HOME)/.local
FUZZ_SECONDS ?= 60
ifeq ($(FUZZ),1)
BUILD := build-fuzz
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DQUORVANE_FUZZ=ON
DEPS_FLAGS := --fuzz
endif

.PHONY: all deps configure build program test test-sanitized run install uninstall bench fuzz format clean

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

test-sanitized:
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS="suppressions='$(CURDIR)/tests/leak-suppressions.txt':print_suppressions=0" $(MAKE) test BUILD=build-asan CMAKE_FLAGS="$(CMAKE_FLAGS) -DQUORVANE_SANITIZE=ON"

program: configure
	cmake --build $(BUILD) -j $(JOBS) --target program

run: program
	$(BUILD)/bin/quorvane

install: program
	cmake "-DBUILD=$(BUILD)" "-DPREFIX=$(PREFIX)" -P tools/install.cmake

uninstall:
	cmake "-DPREFIX=$(PREFIX)" -P tools/uninstall.cmake

bench: build
	$(BUILD)/bin/quorvane-bench

fuzz:
	$(MAKE) FUZZ=1 build
	tools/run-fuzz.sh build-fuzz $(FUZZ_SECONDS) $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-asan build-fuzz
