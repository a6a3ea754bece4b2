# pip install ./python: a pure-Python package over libquarn (ctypes).
from setuptools import setup

setup(
    name="quarn",
    version="0.1.0",
    description="Building interiors generated from outlines (binding of libquarn)",
    packages=["quarn"],
    python_requires=">=3.9",
)
