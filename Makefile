# make run: install what is missing, build, start Sundrel.
# make test: install what is missing, build with the sanitizers, run every test.
JOBS ?= $(shell nproc)
BUILD ?= build/release
TEST_BUILD ?= build/test

.PHONY: all deps build run test test-build bench clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSUNDREL_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/Sundrel

test-build: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSUNDREL_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)

test: test-build
	ctest --test-dir $(TEST_BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf build
