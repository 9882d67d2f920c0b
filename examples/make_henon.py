#!/usr/bin/env python3
"""Writes the bundled example series: the x coordinate of the Henon map.

x(n+1) = 1 - a x(n)^2 + y(n), y(n+1) = b x(n) with a = 1.4, b = 0.3, started
at (0.1, 0) and run for 1000 steps of transient before 5000 values are kept.
Each value is printed with nine significant digits, enough to read back as
the same single-precision number. Run from the repository root:
    python3 examples/make_henon.py > examples/henon.tms
"""

a, b = 1.4, 0.3
x, y = 0.1, 0.0
for _ in range(1000):
    x, y = 1.0 - a * x * x + y, b * x
for _ in range(5000):
    x, y = 1.0 - a * x * x + y, b * x
    print(f"{x:.9g}")
