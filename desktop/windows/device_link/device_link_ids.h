// Resource ids of the device link's dialog "Select a file for display".
#ifndef DESKTOP_WINDOWS_DEVICE_LINK_DEVICE_LINK_IDS_H
#define DESKTOP_WINDOWS_DEVICE_LINK_DEVICE_LINK_IDS_H

#define IDD_UNIT_TREE 172
#define IDC_UNIT_PATH 1031
#define IDC_UNIT_TREE 1032
#define IDC_UNIT_CANCEL 1035

#endif
