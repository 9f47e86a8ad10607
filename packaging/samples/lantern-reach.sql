-- Lantern Reach: the three powers of the neighbourhood and their regions.
update bodies set political_affiliation = 'Lantern Compact'
 where parent_id = 0 and name in ('Lantern', 'Hollis', 'Brennan''s Pair', 'Quillon', 'Ebon Gate');
update bodies set political_affiliation = 'Meridian Assembly'
 where parent_id = 0 and name in ('Meridian', 'Corvain');
update bodies set political_affiliation = 'Varro Freeholds'
 where parent_id = 0 and name in ('Varro''s Light', 'Kessa');
update bodies set political_affiliation = 'Disputed'
 where parent_id = 0 and name = 'Tesk';
-- Two named regions: the Compact's home sphere and the Assembly's box.
insert into subsectors (id_string, name, color, show_label, shape, visible,
                        center_x, center_y, center_z, size_x, size_y, size_z,
                        show_grid, grid_x, grid_y, grid_z, rotate_x, rotate_y, rotate_z,
                        grid_tick, tick_labels)
values ('{4C414E54-4552-4E00-8000-434F4D504143}', 'Compact Home Sphere', 4235519, 1, 1, 1,
        0, 0, 0, 9, 9, 9, 0, 1, 1, 1, 0, 0, 0, 1, 0),
       ('{4D455249-4449-4100-8000-415353454D42}', 'Assembly March', 12615680, 1, 0, 1,
        6.5, -0.8, 0.3, 4, 9, 6, 0, 1, 1, 1, 0, 0, 0, 1, 0);
