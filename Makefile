# The two commands of a newcomer: `make run` starts Brevio, `make test` runs every test.
# Both install what the machine lacks first (scripts/install-deps). `make package` builds the
# installer and the portable zip into dist/.
.PHONY: run test bench deps build package clean

JOBS ?= 2

deps:
	@scripts/install-deps

# The release tree gives `make run` its service and settings writer; the sanitized one is for tests.
build: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)
	cmake --preset native-release >/dev/null
	cmake --build --preset native-release -j $(JOBS) --target lumora-service brevio-config
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

# The benchmarks (CTest label bench), which print figures and never fail on time; left out of
# `make test`.
bench: build
	scripts/bench-all

run: build
	scripts/run-demo

package: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target brevio_package
	@ls -l dist/

test: deps
	scripts/test-all

clean:
	rm -rf build run dist
