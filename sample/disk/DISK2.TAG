Disk 2 of the On-line Manual
