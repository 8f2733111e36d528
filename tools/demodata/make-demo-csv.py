#!/usr/bin/env python3
"""Writes the demo records kept in samples/demo/*.csv.

The build does not run this: the CSV files are the kept data, and this script
only documents how they were made. A fixed seed makes every run give the same
files. Run from the repository root: tools/demodata/make-demo-csv.py
"""
import csv
import datetime as dt
import random

rng = random.Random(20260108)
OUT = "samples/demo"


def write(name, header, rows):
    with open(f"{OUT}/{name}.csv", "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(header)
        w.writerows(rows)


def expenses():
    payees = {
        "Groceries": ["Greenleaf Market", "Harbor Foods", "Corner Grocer", "FreshCo"],
        "Fuel": ["Shell Station Elm St", "Valley Gas", "Northside Fuel"],
        "Dining": ["Blue Door Bistro", "Luigi's Trattoria", "Noodle Bar", "Cafe Aurora"],
        "Utilities": ["City Water", "Bright Power Co.", "Telenet Broadband"],
        "Office": ["Paper & Pen", "OfficeWorld", "PostNet"],
        "Travel": ["Coastline Rail", "Skyway Airlines", "Harbor Hotel", "Metro Taxi"],
        "Health": ["Main St Pharmacy", "Dr. Patel Dental", "Riverside Clinic"],
    }
    amounts = {
        "Groceries": (18, 160), "Fuel": (25, 70), "Dining": (9, 95), "Utilities": (40, 180),
        "Office": (5, 120), "Travel": (12, 420), "Health": (8, 240),
    }
    notes = {
        "Groceries": ["Weekly shop", "Party supplies", "Top-up shop", "Bulk pantry items"],
        "Fuel": ["Full tank", "Half tank before trip", "Fill-up"],
        "Dining": ["Client lunch", "Team dinner", "Coffee meeting", "Birthday dinner"],
        "Utilities": ["Monthly bill", "Quarterly bill", "Includes late fee refund"],
        "Office": ["Printer toner", "Stamps and envelopes", "Notebooks", "Desk lamp bulb"],
        "Travel": ["Conference trip", "Train to head office", "Airport transfer", "Two nights"],
        "Health": ["Prescription", "Check-up", "Vitamins", "Dental cleaning"],
    }
    rows = []
    day = dt.date(2026, 1, 2)
    while day < dt.date(2026, 7, 1):
        for _ in range(rng.choice([0, 1, 1, 2])):
            cat = rng.choice(list(payees))
            lo, hi = amounts[cat]
            amount = f"{rng.uniform(lo, hi):.2f}"
            paid = "yes" if day < dt.date(2026, 6, 10) or rng.random() < 0.4 else "no"
            rows.append([day.isoformat(), rng.choice(payees[cat]), cat, amount, paid,
                         "receipt", rng.choice(notes[cat])])
        day += dt.timedelta(days=rng.choice([1, 2, 2, 3]))
    write("Expenses", ["Date:2", "Payee:0", "Category:0", "Amount:0", "Paid:1", "Receipt:5",
                       "Note:0"], rows)


def mileage():
    vehicles = {"Corolla": 48210, "Transit Van": 91544}
    purposes = ["Client visit - Harbor St", "Supplier pick-up", "Site inspection",
                "Bank deposit", "Trade fair", "Delivery to Westfield", "Training day",
                "Post office run", "Meeting at head office", "Equipment repair shop"]
    rows = []
    day = dt.date(2026, 1, 5)
    n = 0
    while day < dt.date(2026, 6, 30):
        if day.weekday() < 5:
            starts = sorted(dt.time(rng.randint(7, 16), rng.choice([0, 10, 15, 20, 30, 45]))
                            for _ in range(rng.choice([0, 1, 1, 2])))
            for start in starts:
                n += 1
                vehicle = rng.choice(list(vehicles))
                miles = rng.randint(6, 140)
                odo = vehicles[vehicle]
                vehicles[vehicle] += miles + rng.randint(0, 25)
                fuel = f"{rng.uniform(8, 14):.1f}" if rng.random() < 0.2 else "0.0"
                minutes = int(miles * rng.uniform(1.3, 2.2)) + 20
                logged = dt.datetime.combine(day, start) + dt.timedelta(minutes=minutes)
                rows.append([day.isoformat(), start.strftime("%H:%M"), vehicle,
                             rng.choice(purposes), str(odo), str(miles), fuel,
                             logged.strftime("%Y-%m-%dT%H:%M:%S"), f"T26-{n:04d}",
                             "Palm m505 " + (day + dt.timedelta(days=1)).isoformat()])
        day += dt.timedelta(days=1)
    write("Mileage", ["Date:2", "StartTime:3", "Vehicle:0", "Purpose:0", "Odometer:0",
                      "Miles:0", "Fuel:0", "Logged:6", "TripCode:0", "Synced:0"], rows)


def inventory():
    items = [
        ("Living Room", [("42-inch television", "tv", 450), ("Three-seat sofa", "sofa", 890),
                         ("Floor lamp", "lamp", 75), ("Oil painting, harbour", "painting", 320),
                         ("Wall clock", "clock", 45), ("Bookshelf, oak", "bookshelf", 210),
                         ("Stereo amplifier", "box", 380), ("Armchair", "chair", 260),
                         ("Rubber plant", "plant", 35)]),
        ("Kitchen", [("Refrigerator", "fridge", 980), ("Microwave oven", "box", 120),
                     ("Espresso machine", "box", 340), ("Dining table", "table", 540),
                     ("Dining chairs (4)", "chair", 360), ("Stand mixer", "box", 290)]),
        ("Bedroom", [("Queen bed frame", "bed", 650), ("Wardrobe", "bookshelf", 480),
                     ("Bedside lamp", "lamp", 40), ("Mirror", "painting", 90),
                     ("Alarm clock radio", "clock", 30)]),
        ("Office", [("Laptop computer", "laptop", 1150), ("Desk lamp", "lamp", 55),
                    ("Office chair", "chair", 230), ("Writing desk", "table", 310),
                    ("Laser printer", "box", 180), ("Digital camera", "camera", 420),
                    ("Handheld organizer", "box", 249)]),
        ("Garage", [("Mountain bicycle", "bicycle", 720), ("Lawn mower", "box", 310),
                    ("Tool chest", "box", 260), ("Washing machine", "washer", 560),
                    ("Road bicycle", "bicycle", 940)]),
        ("Hobby Room", [("Acoustic guitar", "guitar", 480), ("Electric guitar", "guitar", 650),
                        ("Film camera", "camera", 150), ("Sewing machine", "box", 330),
                        ("Telescope", "box", 410), ("Houseplant collection", "plant", 60)]),
    ]
    rows = []
    for room, things in items:
        for name, motif, base in things:
            value = f"{base * rng.uniform(0.85, 1.15):.2f}"
            bought = dt.date(2018, 1, 1) + dt.timedelta(days=rng.randint(0, 2900))
            insured = "yes" if base >= 200 or rng.random() < 0.3 else "no"
            serial = f"SN-{rng.randint(10000, 99999)}-{rng.choice('ABCDEFGHKMNPRSTX')}" \
                     f"{rng.choice('ABCDEFGHKMNPRSTX')}"
            rows.append([name, room, value, motif, bought.isoformat(), insured, serial])
    write("Inventory", ["Item:0", "Room:0", "Value:0", "Photo:5", "Purchased:2", "Insured:1",
                        "Serial:0"], rows)


expenses()
mileage()
inventory()
