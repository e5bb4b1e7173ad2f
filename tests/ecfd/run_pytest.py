"""ctest's entry: pytest on this folder; 77 (skipped) when pytest is missing, a failure when
pytest collects nothing or fails in any other way."""
import pathlib
import sys

try:
    import pytest
except ImportError:
    print("pytest is not installed (Debian: python3-pytest)")
    sys.exit(77)

code = pytest.main(["-q", "-p", "no:cacheprovider", str(pathlib.Path(__file__).parent), *sys.argv[1:]])
if code == pytest.ExitCode.NO_TESTS_COLLECTED:
    print("no test was collected")
sys.exit(0 if code == pytest.ExitCode.OK else 1)
